#include "profile/profile_chart.h"
#include "profile/scale_names.h"
#include "profile/scale_poles.h"

#include <QAbstractSeries>
#include <QChart>
#include <QChartView>
#include <QImage>
#include <QTest>
#include <QToolTip>
#include <QWidget>

#include <algorithm>
#include <cmath>

using zorven::ProfileChart;

namespace {

const QColor kRed(255, 0, 0);
const QColor kMaroon(128, 0, 0);
const QStringList kLabels = {"A", "B", "C", "E", "F", "G", "H", "I",
                             "L", "M", "N", "O", "Q1", "Q2", "Q3", "Q4"};
// Every sten, the highest twice, and a zero as the core leaves it without a norm table.
const QList<double> kProfile = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10, 0, 5, 6, 7, 8};
// A mark farther than this above its bar reads as belonging to nothing.
constexpr double kFarthestMarkGap = 4;

void addProfile(ProfileChart &chart, const QList<double> &values, const QColor &colour = kRed)
{
    for (qsizetype k = 0; k < values.size(); ++k)
        chart.series(0).addPoint(values[k], kLabels[k % kLabels.size()], colour);
}

// Lets the chart lay itself out for what it now holds, as the event loop would.
void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

void showChart(QWidget &window, ProfileChart &chart)
{
    window.show();
    chart.setVisible(true);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    settle();
}

double barCentreX(const QRectF &plot, int index, int count)
{
    return plot.left() + (index + 0.5) * plot.width() / count;
}

double barTopY(const ProfileChart &chart, double value)
{
    const QRectF plot = chart.plotArea();
    const double top = chart.valueAxisRange().maximum;
    return plot.bottom() - value / top * plot.height();
}

bool isBarPixel(const QColor &pixel)
{
    return pixel.red() > 100 && pixel.green() < 60 && pixel.blue() < 60;
}

bool closeTo(const QColor &actual, const QColor &expected)
{
    constexpr int kTolerance = 8;
    return std::abs(actual.red() - expected.red()) <= kTolerance
        && std::abs(actual.green() - expected.green()) <= kTolerance
        && std::abs(actual.blue() - expected.blue()) <= kTolerance;
}

QByteArray markFault(int index, const char *fault)
{
    return QStringLiteral("mark %1 %2").arg(index).arg(QLatin1StringView(fault)).toUtf8();
}

} // namespace

class TestProfileChart : public QObject
{
    Q_OBJECT

private slots:
    void createdHiddenAndEmptyAtItsPlace();
    void holdsSixteenPointsInOrder();
    void keepsEveryBarsOwnColour();
    void valueAxisLeavesRoomAboveTheTallestBar_data();
    void valueAxisLeavesRoomAboveTheTallestBar();
    void marksShowWholeValues_data();
    void marksShowWholeValues();
    void labelsAreNotElidedAtItsSize();
    void movesAndShowsWithoutResizing();
    void zeroValueGivesAnEmptyBarMarkedZero();
    void barsRunFromMaroonToTheirColour();
    void restingOnABarTellsItsScaleStenAndPole_data();
    void restingOnABarTellsItsScaleStenAndPole();
};

void TestProfileChart::createdHiddenAndEmptyAtItsPlace()
{
    QWidget window;
    ProfileChart chart(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QChartView *view = window.findChild<QChartView *>(QStringLiteral("Chart1"));
    QCOMPARE(view, &chart);
    QVERIFY(!view->isVisible());
    QCOMPARE(view->geometry(), QRect(440, 16, 410, 260));
    // The chart owns its one series from the start and plots it once it shows.
    const QList<QAbstractSeries *> series = view->chart()->findChildren<QAbstractSeries *>();
    QCOMPARE(series.size(), 1);
    QCOMPARE(series.first()->objectName(), QStringLiteral("Series1"));
    QCOMPARE(chart.series(0).pointCount(), 0);
    QCOMPARE(view->chart()->title(), QStringLiteral("Профиль"));
    chart.setVisible(true);
    QCOMPARE(view->chart()->series(), series);
}

void TestProfileChart::holdsSixteenPointsInOrder()
{
    QWidget window;
    ProfileChart chart(&window);
    addProfile(chart, kProfile);

    const auto &series = chart.series(0);
    QCOMPARE(series.pointCount(), 16);
    QStringList labels;
    QList<double> values;
    for (int k = 0; k < series.pointCount(); ++k) {
        labels.append(series.label(k));
        values.append(series.value(k));
        QCOMPARE(series.colour(k), kRed);
    }
    QCOMPARE(labels, kLabels);
    QCOMPARE(values, kProfile);
}

void TestProfileChart::keepsEveryBarsOwnColour()
{
    QWidget window;
    ProfileChart chart(&window);
    const QList<QColor> colours = {kRed, QColor(0, 0, 255), QColor(0, 128, 0)};
    for (qsizetype k = 0; k < colours.size(); ++k)
        chart.series(0).addPoint(5, kLabels[k], colours[k]);

    for (int k = 0; k < colours.size(); ++k)
        QCOMPARE(chart.series(0).colour(k), colours[k]);
}

void TestProfileChart::valueAxisLeavesRoomAboveTheTallestBar_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<double>("step");
    QTest::addColumn<bool>("addedWhileShown");

    QTest::newRow("profile up to 10") << kProfile << 1.0 << false;
    QTest::newRow("profile added while shown") << kProfile << 1.0 << true;
    QTest::newRow("all zero") << QList<double>(16, 0) << 1.0 << false;
    QTest::newRow("highest 7") << QList<double>{3, 7, 1, 5} << 1.0 << false;
    QTest::newRow("highest 7 added while shown") << QList<double>{3, 7, 1, 5} << 1.0 << true;
    QTest::newRow("fraction below 10") << QList<double>{9.5, 2} << 1.0 << false;
    QTest::newRow("one single 10") << QList<double>{10} << 1.0 << false;
    QTest::newRow("beyond stens: 40") << QList<double>{40, 12} << 5.0 << false;
    QTest::newRow("largest byte") << QList<double>{255, 1} << 50.0 << false;
}

void TestProfileChart::valueAxisLeavesRoomAboveTheTallestBar()
{
    QFETCH(QList<double>, values);
    QFETCH(double, step);
    QFETCH(bool, addedWhileShown);
    QWidget window;
    ProfileChart chart(&window);
    if (addedWhileShown) {
        showChart(window, chart);
        addProfile(chart, values);
        settle();
    } else {
        addProfile(chart, values);
        showChart(window, chart);
    }

    const zorven::ValueAxisRange axis = chart.valueAxisRange();
    const double largest = *std::max_element(values.cbegin(), values.cend());
    QCOMPARE(axis.minimum, 0.0);
    QVERIFY(axis.maximum > largest);
    QCOMPARE((axis.maximum - axis.minimum) / (axis.tickCount - 1), step);

    const QRectF plot = chart.plotArea();
    for (int k = 0; k < values.size(); ++k) {
        const QRectF mark = chart.markRect(k);
        const double barTop = barTopY(chart, values[k]);
        const double centre = barCentreX(plot, k, int(values.size()));
        QVERIFY2(mark.bottom() <= barTop, markFault(k, "overlaps its bar"));
        QVERIFY2(mark.bottom() >= barTop - kFarthestMarkGap, markFault(k, "floats off its bar"));
        QVERIFY2(mark.left() < centre && mark.right() > centre, markFault(k, "is beside its bar"));
        QVERIFY2(plot.contains(mark), markFault(k, "is clipped by the plot area"));
    }
}

void TestProfileChart::marksShowWholeValues_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("mark");

    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("one") << 1.0 << "1";
    QTest::newRow("ten") << 10.0 << "10";
    QTest::newRow("fraction rounds") << 9.6 << "10";
}

void TestProfileChart::marksShowWholeValues()
{
    QFETCH(double, value);
    QFETCH(QString, mark);
    QWidget window;
    ProfileChart chart(&window);
    chart.series(0).addPoint(value, QStringLiteral("A"), kRed);

    QCOMPARE(chart.series(0).markText(0), mark);
}

void TestProfileChart::labelsAreNotElidedAtItsSize()
{
    QWidget window;
    ProfileChart chart(&window);
    addProfile(chart, kProfile);
    showChart(window, chart);

    QCOMPARE(chart.size(), QSize(410, 260));
    QVERIFY(!chart.axisLabelsTruncated());
}

void TestProfileChart::movesAndShowsWithoutResizing()
{
    QWidget window;
    window.resize(900, 400);
    ProfileChart chart(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    chart.setTop(0);
    QCOMPARE(chart.pos(), QPoint(440, 0));
    chart.setLeft(0);
    QCOMPARE(chart.pos(), QPoint(0, 0));
    QVERIFY(!chart.isVisible());

    chart.setVisible(true);
    QVERIFY(chart.isVisible());
    QCOMPARE(chart.size(), QSize(410, 260));

    chart.setVisible(false);
    QVERIFY(!chart.isVisible());
}

void TestProfileChart::zeroValueGivesAnEmptyBarMarkedZero()
{
    QWidget window;
    ProfileChart chart(&window);
    addProfile(chart, kProfile);
    showChart(window, chart);

    const int zero = int(kProfile.indexOf(0.0));
    QCOMPARE(chart.series(0).value(zero), 0.0);
    QCOMPARE(chart.series(0).markText(zero), QStringLiteral("0"));

    const QRectF plot = chart.plotArea();
    const QRectF mark = chart.markRect(zero);
    QVERIFY(plot.contains(mark));
    QVERIFY(mark.bottom() <= plot.bottom());

    const QImage image = chart.grab().toImage();
    const int x = int(barCentreX(plot, zero, kProfile.size()));
    for (int y = int(mark.bottom()) + 1; y < int(plot.bottom()); ++y)
        QVERIFY2(!isBarPixel(image.pixelColor(x, y)), qPrintable(QString("bar at y=%1").arg(y)));
    // The neighbouring bar is drawn where the zero one is not, so the probe itself works.
    const int neighbour = int(barCentreX(plot, zero - 1, kProfile.size()));
    QVERIFY(isBarPixel(image.pixelColor(neighbour, int(plot.bottom()) - 2)));
}

void TestProfileChart::barsRunFromMaroonToTheirColour()
{
    const QColor blue(0, 0, 255);
    QWidget window;
    ProfileChart chart(&window);
    addProfile(chart, kProfile, blue);
    showChart(window, chart);

    const int tallest = int(kProfile.indexOf(10.0));
    const QRectF plot = chart.plotArea();
    const QImage image = chart.grab().toImage();
    const int x = int(barCentreX(plot, tallest, kProfile.size()));
    const QColor top = image.pixelColor(x, int(barTopY(chart, 10)) + 2);
    const QColor foot = image.pixelColor(x, int(plot.bottom()) - 2);
    QVERIFY2(closeTo(top, blue), qPrintable(top.name()));
    QVERIFY2(closeTo(foot, kMaroon), qPrintable(foot.name()));
}

void TestProfileChart::restingOnABarTellsItsScaleStenAndPole_data()
{
    QTest::addColumn<int>("bar");
    QTest::addColumn<QString>("pole");
    QTest::newRow("B, sten 2: low") << 1 << zorven::lowPole(1);
    QTest::newRow("F, sten 5: average, leaning low") << 4 << zorven::lowPole(4);
    QTest::newRow("G, sten 6: average, leaning high") << 5 << zorven::highPole(5);
    QTest::newRow("L, sten 9: high") << 8 << zorven::highPole(8);
}

void TestProfileChart::restingOnABarTellsItsScaleStenAndPole()
{
    QFETCH(int, bar);
    QFETCH(QString, pole);
    QWidget window;
    ProfileChart chart(&window);
    addProfile(chart, kProfile);
    // Where the results step puts it, so that every bar is inside the window.
    chart.setTop(0);
    chart.setLeft(0);
    showChart(window, chart);

    const QRectF plot = chart.plotArea();
    const QPoint onBar(int(barCentreX(plot, bar, kProfile.size())), int(plot.bottom()) - 1);
    QTest::mouseMove(chart.viewport(), onBar);
    QTRY_VERIFY(QToolTip::isVisible());
    const QString tip = QToolTip::text();
    QVERIFY2(tip.contains(zorven::scaleName(bar)), qPrintable(tip));
    QVERIFY2(tip.contains(QStringLiteral("Стен %1").arg(kProfile[bar])), qPrintable(tip));
    QVERIFY2(tip.contains(pole), qPrintable(tip));
    QToolTip::hideText();
}

QTEST_MAIN(TestProfileChart)
#include "tst_profile_chart.moc"
