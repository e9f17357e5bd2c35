#include "localisation/language.h"
#include "ui/stats/graphctrl.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <limits>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBackground = qRgb(192, 192, 192);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kGrid = qRgb(160, 160, 160);
const QRgb kLine = qRgb(192, 0, 0);
const QRect kArea(10, 20, 260, 140);

struct Drawn {
    QImage image;
    ChartGeometry geometry;
};

// The chart drawn into kArea of a white image.
Drawn draw(const QList<float>& series) {
    Drawn drawn{QImage(300, 200, QImage::Format_RGB32), {}};
    drawn.image.fill(kWhite);
    QPainter painter(&drawn.image);
    drawn.geometry = CGraphCtrl::paintChart(painter, kArea, series);
    return drawn;
}

// Pixels of the colour; outside kArea only, any colour but white.
int pixelsOf(const QImage& image, QRgb colour, bool outside = false) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (outside)
                count += !kArea.contains(x, y) && pixel != kWhite ? 1 : 0;
            else
                count += pixel == colour ? 1 : 0;
        }
    }
    return count;
}

} // namespace

class GraphCtrlTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { language().clear(); }

    void drawsTheChart() {
        const Drawn drawn = draw({25.0f, 45.0f, 20.0f, 30.0f});
        const ChartGeometry& g = drawn.geometry;
        QCOMPARE(g.labels.size(), 5);
        QCOMPARE(g.points.size(), 4);
        // Background in the corner above the plot, the line on its points.
        QCOMPARE(drawn.image.pixel(kArea.right() - 1, kArea.top() + 1), kBackground);
        for (const ChartPoint& point : g.points)
            QCOMPARE(drawn.image.pixel(point.x, point.y), kLine);
        // A dashed grid line on every label row: dash, gap, dash; a tick left of the axis.
        for (const ChartLabel& label : g.labels) {
            QCOMPARE(drawn.image.pixel(g.gridLeft(), label.y), kGrid);
            QCOMPARE(drawn.image.pixel(g.gridLeft() + 4, label.y), kBackground);
            QCOMPARE(drawn.image.pixel(g.gridLeft() + 6, label.y), kGrid);
            QCOMPARE(drawn.image.pixel(g.tickLeft(), label.y), kBlack);
        }
        QCOMPARE(drawn.image.pixel(g.axisX(), kArea.top() + 1), kBlack);
        QCOMPARE(drawn.image.pixel(kArea.left() + 1, g.baseLineY()), kBlack);
        QCOMPARE(pixelsOf(drawn.image, kWhite, true), 0);
    }

    void emptyChartHasNoLine_data() {
        QTest::addColumn<QList<float>>("series");
        QTest::newRow("empty") << QList<float>{};
        QTest::newRow("zero and below") << QList<float>{0.0f, -4.0f};
        QTest::newRow("one value") << QList<float>{12.0f};
    }

    void emptyChartHasNoLine() {
        QFETCH(QList<float>, series);
        const Drawn drawn = draw(series);
        QCOMPARE(pixelsOf(drawn.image, kLine), 0);
        QVERIFY(pixelsOf(drawn.image, kGrid) > 0);
    }

    // Values far below 0 or far above the top label do not draw over the neighbours.
    void nothingOutsideTheChart() {
        const Drawn drawn = draw({-5000.0f, 10.0f, 3.0e9f, std::numeric_limits<float>::max()});
        QVERIFY(pixelsOf(drawn.image, kLine) > 0);
        QCOMPARE(pixelsOf(drawn.image, kWhite, true), 0);
    }

    // The chart asks its source again on every paint and tells a screen reader what it shows.
    void followsItsSource() {
        CGraphCtrl chart;
        QList<float> values{8.0f, 8.75f, std::numeric_limits<float>::infinity(), 6.5f};
        int asked = 0;
        chart.setSeries(QStringLiteral("Consumption"), [&] {
            ++asked;
            return values;
        });
        QCOMPARE(chart.accessibleName(), QStringLiteral("Consumption"));
        QCOMPARE(chart.accessibleDescription(),
                 QStringLiteral("3 points, lowest 6.50, highest 8.75"));
        QVERIFY(chart.focusPolicy() & Qt::TabFocus);
        values = {100.0f, 250.0f};
        chart.resize(300, 160);
        const QImage image = chart.grab().toImage();
        QCOMPARE(asked, 2);
        const ChartPoint last = chart.chartGeometry().points.value(1);
        QCOMPARE(image.pixel(last.x, last.y), kLine);
        values.clear();
        chart.refresh();
        QCOMPARE(chart.accessibleDescription(), QStringLiteral("No points"));
    }
};

QTEST_MAIN(GraphCtrlTest)
#include "tst_graphctrl.moc"
