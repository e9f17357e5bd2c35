#include "stats/chart.h"
#include "stats/graphseries.h"
#include "stats/threefills.h"

#include <QTest>
#include <limits>

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// "0" measures 11 pixels high, so a label row needs 13; every character is 6 pixels wide.
QSize measure(const QString& text) {
    return {6 * int(text.size()), 11};
}

ChartGeometry geometryOf(const QList<float>& series, int height = 120) {
    return computeChartGeometry({0, 0, 200, height}, series, measure);
}

QStringList labelTexts(const ChartGeometry& g) {
    QStringList texts;
    for (const ChartLabel& label : g.labels)
        texts.append(label.text);
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(GraphKind)
Q_DECLARE_METATYPE(FillingMethod)

class ChartTest : public QObject {
    Q_OBJECT
private slots:
    void computeScale_data() {
        QTest::addColumn<float>("maximum");
        QTest::addColumn<float>("step");
        QTest::addColumn<float>("top");
        QTest::newRow("45") << 45.0f << 10.0f << 50.0f;
        QTest::newRow("100") << 100.0f << 10.0f << 110.0f;
        QTest::newRow("10") << 10.0f << 1.0f << 11.0f;
        QTest::newRow("7.3") << 7.3f << 1.0f << 8.0f;
        QTest::newRow("1") << 1.0f << 1.0f << 2.0f;
        QTest::newRow("1234.5") << 1234.5f << 1000.0f << 2000.0f;
        QTest::newRow("0.45") << 0.45f << 0.1f << 0.5f;
        QTest::newRow("0") << 0.0f << 1.0f << 1.0f;
        QTest::newRow("negative") << -3.0f << 1.0f << 1.0f;
        QTest::newRow("NaN") << kNaN << 1.0f << 1.0f;
        QTest::newRow("infinity") << kInfinity << 1.0f << 1.0f;
    }

    void computeScale() {
        QFETCH(float, maximum);
        QFETCH(float, step);
        QFETCH(float, top);
        const ChartScale scale = ::computeScale(maximum);
        QCOMPARE(scale.step, step);
        QCOMPARE(scale.top, top);
    }

    void labelText() {
        QCOMPARE(chartLabelText(1e10f, 1e9f), QStringLiteral("10000000000"));
        QCOMPARE(chartLabelText(0.3f, 0.1f), QStringLiteral("0.30"));
    }

    void labelRows_data() {
        QTest::addColumn<QList<float>>("series");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("halvings");
        QTest::addColumn<QString>("texts");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<float>("topValue");
        QTest::newRow("45 fits every step")
            << QList<float>{12.0f, 45.0f, 30.0f} << 120 << 0 << "10 20 30 40 50"
            << QList<int>{94, 73, 52, 31, 10} << 50.0f;
        QTest::newRow("7.3 in eight rows") << QList<float>{7.3f} << 120 << 0 << "1 2 3 4 5 6 7 8"
                                           << QList<int>{102, 89, 76, 63, 50, 37, 24, 11} << 8.0f;
        QTest::newRow("95 halved once") << QList<float>{95.0f} << 120 << 1 << "20 40 60 80 100"
                                        << QList<int>{94, 73, 52, 31, 10} << 100.0f;
        // Two halvings: the increment is four steps, so the labels still reach up to the values.
        QTest::newRow("950 halved twice")
            << QList<float>{950.0f} << 50 << 2 << "400 800" << QList<int>{26, 7} << 800.0f;
        QTest::newRow("0.45 with decimals")
            << QList<float>{0.45f} << 120 << 0 << "0.10 0.20 0.30 0.40 0.50"
            << QList<int>{94, 73, 52, 31, 10} << 0.5f;
        QTest::newRow("empty series: step 1, top 1")
            << QList<float>{} << 120 << 0 << "1" << QList<int>{6} << 1.0f;
    }

    void labelRows() {
        QFETCH(QList<float>, series);
        QFETCH(int, height);
        QFETCH(int, halvings);
        QFETCH(QString, texts);
        QFETCH(QList<int>, rows);
        QFETCH(float, topValue);
        const ChartGeometry g = geometryOf(series, height);
        QCOMPARE(g.labelHeight, 13);
        QCOMPARE(g.halvings, halvings);
        QCOMPARE(labelTexts(g).join(u' '), texts);
        QList<int> drawnRows;
        for (const ChartLabel& label : g.labels) {
            drawnRows.append(label.y);
            QCOMPARE(label.textRect.top, label.y - 6);
            QCOMPARE(label.textRect.bottom, label.y + 5);
        }
        QCOMPARE(drawnRows, rows);
        QCOMPARE(g.topValue, topValue);
        QCOMPARE(g.topGridY, rows.last());
    }

    // With a small font the rows may run past the topmost step; a row whose label would stick
    // out above the chart is not drawn.
    void labelsStayInsideTheChart() {
        const ChartGeometry g =
            computeChartGeometry({0, 0, 200, 66}, QList<float>{100.0f}, [](const QString& text) {
                return QSize(6 * int(text.size()), 3);
            });
        QCOMPARE(g.rowSpacing, 5);
        QCOMPARE(g.labels.size(), 11);
        QCOMPARE(g.topGridY, 6);
    }

    void widestLabelPlacesTheAxis() {
        QCOMPARE(geometryOf({45.0f}).plotLeft, 18);
        const ChartGeometry large = geometryOf({1234.5f});
        QCOMPARE(large.labelWidth, 24);
        QCOMPARE(large.plotLeft, 30);
        QCOMPARE(large.axisX(), 29);
        QCOMPARE(large.tickLeft(), 26);
        QCOMPARE(large.gridLeft(), 31);
    }

    void pointsSpreadOverThePlot() {
        // Ten values up to 45: the plot runs from x 18 to 199 in nine equal steps; 50, the top
        // label, lies on row 10 and 0 on row 114.
        const ChartGeometry g =
            geometryOf({0.0f, 5.0f, 10.0f, 15.0f, 20.0f, 25.0f, 30.0f, 35.0f, 40.0f, 45.0f});
        const QList<ChartPoint> expected{{18, 114}, {38, 104}, {58, 94},  {78, 83},  {98, 73},
                                         {119, 62}, {139, 52}, {159, 42}, {179, 31}, {199, 21}};
        QCOMPARE(g.points, expected);
        QCOMPARE(geometryOf({45.0f}).points, (QList<ChartPoint>{{18, 21}}));
    }

    void nothingToPlot_data() {
        QTest::addColumn<QList<float>>("series");
        QTest::newRow("empty") << QList<float>{};
        QTest::newRow("zeros") << QList<float>{0.0f, 0.0f};
        QTest::newRow("negative") << QList<float>{-3.0f, -1.0f, -7.5f};
        QTest::newRow("not computable") << QList<float>{kNaN, kInfinity, -kInfinity};
    }

    void nothingToPlot() {
        QFETCH(QList<float>, series);
        const ChartGeometry g = geometryOf(series);
        QCOMPARE(labelTexts(g), QStringList{QStringLiteral("1")});
        QVERIFY(g.points.isEmpty());
    }

    void nonFiniteValuesAreLeftOut() {
        // The infinity does not set the scale; both unknown values lose their points, and the
        // others keep their places by index.
        const ChartGeometry g = geometryOf({10.0f, kNaN, kInfinity, 20.0f, -5.0f});
        QCOMPARE(g.scale.top, 30.0f);
        QCOMPARE(g.points.size(), 3);
        QCOMPARE(g.points.at(1).x, 154);
        QCOMPARE(g.points.at(2).x, 199);
        QVERIFY(g.points.at(2).y > g.baseLineY());
    }

    void tooSmallForOneLabel() {
        for (const int height : {15, 3, -40}) {
            const ChartGeometry g = geometryOf({45.0f, 12.0f}, height);
            QVERIFY(g.labels.isEmpty());
            QVERIFY(g.points.isEmpty());
            QCOMPARE(g.axisX(), 5);
        }
    }

    void series_data() {
        QTest::addColumn<GraphKind>("kind");
        QTest::addColumn<FillingMethod>("method");
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<float>>("expected");
        const auto empty = FillingMethod::ToEmptyTank;
        QTest::newRow("fill cost")
            << GraphKind::FillCost << empty << 0 << QList<float>{1000.0f, 900.0f, 800.0f};
        QTest::newRow("consumption")
            << GraphKind::Consumption << empty << 0 << QList<float>{8.0f, 8.75f};
        QTest::newRow("unit cost") << GraphKind::UnitCost << empty << 0
                                   << QList<float>{25.0f, 900.0f / 35.0f, 800.0f / 30.0f};
        QTest::newRow("endurance")
            << GraphKind::Endurance << empty << 0 << QList<float>{12.5f, 400.0f / 35.0f};
        QTest::newRow("consumption, full tank")
            << GraphKind::Consumption << FillingMethod::FullTank << 0
            << QList<float>{35.0f / 500.0f * 100.0f, 30.0f / 400.0f * 100.0f};
        QTest::newRow("fill cost from 1")
            << GraphKind::FillCost << empty << 1 << QList<float>{900.0f, 800.0f};
        QTest::newRow("consumption from 1")
            << GraphKind::Consumption << empty << 1 << QList<float>{8.75f};
        QTest::newRow("endurance from the last")
            << GraphKind::Endurance << empty << 2 << QList<float>{};
        QTest::newRow("start past the fills")
            << GraphKind::FillCost << empty << 3 << QList<float>{};
        QTest::newRow("start before the fills")
            << GraphKind::Consumption << empty << -1 << QList<float>{};
    }

    void series() {
        QFETCH(GraphKind, kind);
        QFETCH(FillingMethod, method);
        QFETCH(int, start);
        QFETCH(QList<float>, expected);
        CFuelDatabase database;
        addThreeFills(database);
        QCOMPARE(buildSeries(database, kind, start, method), expected);
    }
};

QTEST_APPLESS_MAIN(ChartTest)
#include "tst_chart.moc"
