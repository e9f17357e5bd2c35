#include "db/fueldatabase.h"
#include "stats/chart.h"
#include "stats/graphseries.h"
#include "stats/threefills.h"

#include <QTest>
#include <cmath>
#include <limits>

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// "0" measures 11 pixels high, so a label row needs 13; every character is 6 pixels wide.
QSize measure(const QString& text) {
    return {6 * int(text.size()), 11};
}

ChartGeometry geometryOf(const QList<float>& series, int height = 120, int width = 200) {
    return computeChartGeometry({0, 0, width, height}, series, measure);
}

QStringList labelTexts(const ChartGeometry& g) {
    QStringList texts;
    for (const ChartLabel& label : g.labels)
        texts.append(label.text);
    return texts;
}

QList<int> rowsOf(const ChartGeometry& g) {
    QList<int> rows;
    for (const ChartLabel& label : g.labels)
        rows.append(label.y);
    return rows;
}

} // namespace

namespace QTest {
template <> char* toString(const ChartPoint& point) {
    return qstrdup((QByteArray::number(point.x) + ',' + QByteArray::number(point.y)).constData());
}
} // namespace QTest

Q_DECLARE_METATYPE(GraphKind)
Q_DECLARE_METATYPE(FillingMethod)

class ChartTest : public QObject {
    Q_OBJECT
private slots:
    void computeScale_data();
    void computeScale();
    void labelText_data();
    void labelText();
    void labelRows_data();
    void labelRows();
    void labelsStayInsideTheChart();
    void widestLabelPlacesTheAxis();
    void pointsSpreadOverThePlot();
    void oneValueIsOnePointAtTheLeft();
    void nothingToPlot_data();
    void nothingToPlot();
    void nonFiniteValuesAreLeftOut();
    void tooSmallForOneLabel_data();
    void tooSmallForOneLabel();

    void series_data();
    void series();
};

void ChartTest::computeScale_data() {
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

void ChartTest::computeScale() {
    QFETCH(float, maximum);
    QFETCH(float, step);
    QFETCH(float, top);
    const ChartScale scale = ::computeScale(maximum);
    QCOMPARE(scale.step, step);
    QCOMPARE(scale.top, top);
}

void ChartTest::labelText_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<float>("step");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 50.0f << 10.0f << QStringLiteral("50");
    QTest::newRow("cut, not rounded") << 7.9f << 1.0f << QStringLiteral("7");
    QTest::newRow("beyond 32 bits") << 1e10f << 1e9f << QStringLiteral("10000000000");
    QTest::newRow("below one") << 0.3f << 0.1f << QStringLiteral("0.30");
}

void ChartTest::labelText() {
    QFETCH(float, value);
    QFETCH(float, step);
    QFETCH(QString, text);
    QCOMPARE(chartLabelText(value, step), text);
}

void ChartTest::labelRows_data() {
    QTest::addColumn<QList<float>>("series");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("halvings");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<float>("topValue");

    QTest::newRow("45 fits every step")
        << QList<float>{12.0f, 45.0f, 30.0f} << 120 << 0
        << QStringList{QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("30"),
                       QStringLiteral("40"), QStringLiteral("50")}
        << QList<int>{94, 73, 52, 31, 10} << 50.0f;
    QTest::newRow("7.3 in eight rows")
        << QList<float>{7.3f} << 120 << 0
        << QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                       QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
                       QStringLiteral("7"), QStringLiteral("8")}
        << QList<int>{102, 89, 76, 63, 50, 37, 24, 11} << 8.0f;
    QTest::newRow("95 halved once")
        << QList<float>{95.0f} << 120 << 1
        << QStringList{QStringLiteral("20"), QStringLiteral("40"), QStringLiteral("60"),
                       QStringLiteral("80"), QStringLiteral("100")}
        << QList<int>{94, 73, 52, 31, 10} << 100.0f;
    // Two halvings: the increment is four steps, so the labels still reach up to the values.
    QTest::newRow("950 halved twice")
        << QList<float>{950.0f} << 50 << 2
        << QStringList{QStringLiteral("400"), QStringLiteral("800")} << QList<int>{26, 7} << 800.0f;
    QTest::newRow("0.45 with decimals")
        << QList<float>{0.45f} << 120 << 0
        << QStringList{QStringLiteral("0.10"), QStringLiteral("0.20"), QStringLiteral("0.30"),
                       QStringLiteral("0.40"), QStringLiteral("0.50")}
        << QList<int>{94, 73, 52, 31, 10} << 0.5f;
    QTest::newRow("empty series: step 1, top 1")
        << QList<float>{} << 120 << 0 << QStringList{QStringLiteral("1")} << QList<int>{6} << 1.0f;
}

void ChartTest::labelRows() {
    QFETCH(QList<float>, series);
    QFETCH(int, height);
    QFETCH(int, halvings);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, rows);
    QFETCH(float, topValue);
    const ChartGeometry g = geometryOf(series, height);
    QCOMPARE(g.labelHeight, 13);
    QCOMPARE(g.halvings, halvings);
    QCOMPARE(labelTexts(g), texts);
    QCOMPARE(rowsOf(g), rows);
    QCOMPARE(g.topValue, topValue);
    QCOMPARE(g.topGridY, rows.last());
    // Every label lies inside the chart, centred on its row.
    for (const ChartLabel& label : g.labels) {
        QVERIFY(label.textRect.top >= 0);
        QCOMPARE(label.textRect.top, label.y - 6);
        QCOMPARE(label.textRect.bottom - label.textRect.top, 11);
    }
}

// With a small font the rows may run past the topmost step; a row whose label would stick out
// above the chart is not drawn.
void ChartTest::labelsStayInsideTheChart() {
    const ChartGeometry g =
        computeChartGeometry({0, 0, 200, 66}, QList<float>{100.0f},
                             [](const QString& text) { return QSize(6 * int(text.size()), 3); });
    QCOMPARE(g.rowSpacing, 5);
    QCOMPARE(g.labels.size(), 11);
    QCOMPARE(g.topValue, 110.0f);
    QCOMPARE(g.topGridY, 6);
    for (const ChartLabel& label : g.labels)
        QVERIFY(label.textRect.top >= 0);
}

void ChartTest::widestLabelPlacesTheAxis() {
    const ChartGeometry small = geometryOf({45.0f});
    const ChartGeometry large = geometryOf({1234.5f});
    QCOMPARE(small.labelWidth, 12);
    QCOMPARE(large.labelWidth, 24);
    QCOMPARE(small.plotLeft, 18);
    QCOMPARE(large.plotLeft, 30);
    QCOMPARE(large.axisX(), 29);
    QCOMPARE(large.tickLeft(), 26);
    QCOMPARE(large.gridLeft(), 31);
    QCOMPARE(large.plotRight, 200);
    QCOMPARE(large.plotBottom, 114);
    QCOMPARE(large.baseLineY(), 115);
}

void ChartTest::pointsSpreadOverThePlot() {
    // Ten values up to 45: the plot runs from x 18 to 199 in nine equal steps; 50, the top
    // label, lies on row 10 and 0 on row 114.
    const QList<float> series{0.0f, 5.0f, 10.0f, 15.0f, 20.0f, 25.0f, 30.0f, 35.0f, 40.0f, 45.0f};
    const ChartGeometry g = geometryOf(series);
    QCOMPARE(g.topValue, 50.0f);
    QCOMPARE(g.topGridY, 10);
    const QList<ChartPoint> expected{{18, 114}, {38, 104}, {58, 94},  {78, 83},  {98, 73},
                                     {119, 62}, {139, 52}, {159, 42}, {179, 31}, {199, 21}};
    QCOMPARE(g.points.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        QCOMPARE(g.points.at(i), expected.at(i));
}

void ChartTest::oneValueIsOnePointAtTheLeft() {
    const ChartGeometry g = geometryOf({45.0f});
    QCOMPARE(g.points, (QList<ChartPoint>{{18, 21}}));
    QCOMPARE(g.labels.size(), 5);
}

void ChartTest::nothingToPlot_data() {
    QTest::addColumn<QList<float>>("series");
    QTest::newRow("empty") << QList<float>{};
    QTest::newRow("zeros") << QList<float>{0.0f, 0.0f};
    QTest::newRow("negative") << QList<float>{-3.0f, -1.0f, -7.5f};
    QTest::newRow("not computable") << QList<float>{kNaN, kInfinity, -kInfinity};
}

void ChartTest::nothingToPlot() {
    QFETCH(QList<float>, series);
    const ChartGeometry g = geometryOf(series);
    QCOMPARE(g.scale.step, 1.0f);
    QCOMPARE(g.scale.top, 1.0f);
    QCOMPARE(labelTexts(g), QStringList{QStringLiteral("1")});
    QVERIFY(g.points.isEmpty());
}

void ChartTest::nonFiniteValuesAreLeftOut() {
    // The infinity does not set the scale; both unknown values lose their points, and the
    // others keep their places by index.
    const ChartGeometry g = geometryOf({10.0f, kNaN, kInfinity, 20.0f, -5.0f});
    QCOMPARE(g.scale.step, 10.0f);
    QCOMPARE(g.scale.top, 30.0f);
    QCOMPARE(g.points.size(), 3);
    QCOMPARE(g.points.at(0).x, 18);
    QCOMPARE(g.points.at(1).x, 154);
    QCOMPARE(g.points.at(2).x, 199);
    // A negative value lies below the base line.
    QVERIFY(g.points.at(2).y > g.baseLineY());
}

void ChartTest::tooSmallForOneLabel_data() {
    QTest::addColumn<int>("height");
    QTest::newRow("lower than a label") << 15;
    QTest::newRow("no room at all") << 3;
    QTest::newRow("upside down") << -40;
}

void ChartTest::tooSmallForOneLabel() {
    QFETCH(int, height);
    const ChartGeometry g = geometryOf({45.0f, 12.0f}, height);
    QVERIFY(g.labels.isEmpty());
    QVERIFY(g.points.isEmpty());
    QCOMPARE(g.labelWidth, 0);
    QCOMPARE(g.plotLeft, 6);
    QCOMPARE(g.axisX(), 5);
}

void ChartTest::series_data() {
    QTest::addColumn<GraphKind>("kind");
    QTest::addColumn<FillingMethod>("method");
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<float>>("expected");
    const auto empty = FillingMethod::ToEmptyTank;
    QTest::newRow("fill cost from 0")
        << GraphKind::FillCost << empty << 0 << QList<float>{1000.0f, 900.0f, 800.0f};
    QTest::newRow("consumption from 0")
        << GraphKind::Consumption << empty << 0 << QList<float>{8.0f, 8.75f};
    QTest::newRow("unit cost from 0")
        << GraphKind::UnitCost << empty << 0 << QList<float>{25.0f, 900.0f / 35.0f, 800.0f / 30.0f};
    QTest::newRow("endurance from 0")
        << GraphKind::Endurance << empty << 0 << QList<float>{12.5f, 400.0f / 35.0f};
    QTest::newRow("consumption, full tank")
        << GraphKind::Consumption << FillingMethod::FullTank << 0 << QList<float>{7.0f, 7.5f};
    QTest::newRow("fill cost from 1")
        << GraphKind::FillCost << empty << 1 << QList<float>{900.0f, 800.0f};
    QTest::newRow("consumption from 1")
        << GraphKind::Consumption << empty << 1 << QList<float>{8.75f};
    QTest::newRow("unit cost from the last")
        << GraphKind::UnitCost << empty << 2 << QList<float>{800.0f / 30.0f};
    QTest::newRow("endurance from the last")
        << GraphKind::Endurance << empty << 2 << QList<float>{};
    QTest::newRow("start past the fills") << GraphKind::FillCost << empty << 3 << QList<float>{};
    QTest::newRow("start before the fills")
        << GraphKind::Consumption << empty << -1 << QList<float>{};
}

void ChartTest::series() {
    QFETCH(GraphKind, kind);
    QFETCH(FillingMethod, method);
    QFETCH(int, start);
    QFETCH(QList<float>, expected);
    CFuelDatabase database;
    addThreeFills(database);
    const QList<float> series = buildSeries(database, kind, start, method);
    QCOMPARE(series.size(), expected.size());
    for (qsizetype i = 0; i < series.size(); ++i)
        QCOMPARE(series.at(i), expected.at(i));
}

QTEST_APPLESS_MAIN(ChartTest)
#include "tst_chart.moc"
