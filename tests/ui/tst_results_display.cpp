// The display half of the results step on its own: what the chart and the four value
// labels show once a scored sheet is handed to them.

#include "profile/profile_chart.h"
#include "profile/results_display.h"
#include "scoring/scoring_run.h"

#include <QLabel>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <array>
#include <optional>

namespace {

const QStringList kLatinFactorLabels = {"A", "B", "C", "E", "F", "G", "H", "I",
                                        "L", "M", "N", "O", "Q1", "Q2", "Q3", "Q4"};

// Every sten from 1 to 10 occurs, in an order no sorting would produce.
constexpr zorven::Stens kMixedStens = {3, 10, 1, 7, 5, 2, 9, 4, 6, 8, 10, 1, 5, 7, 3, 6};

zorven::Sheet scoredSheet()
{
    zorven::Sheet sheet;
    sheet.stens = kMixedStens;
    sheet.secondOrder = {6.8, -1.7, 0, 5};
    return sheet;
}

// A sheet whose every statement is answered with its option b or c by turns.
zorven::AnswerRecord keyedAnswers()
{
    zorven::AnswerRecord answers;
    for (int q = 1; q <= zorven::kStatementCount; ++q)
        answers.set(q, std::uint8_t(q % 2 + 1));
    return answers;
}

// A window holding the chart and the four value labels, all owned by it.
struct ResultsWindow
{
    ResultsWindow()
    {
        window.resize(860, 300);
        for (QLabel *&label : labels) {
            label = new QLabel(&window);
            label->hide();
        }
    }

    QWidget window;
    zorven::ProfileChart *chart = new zorven::ProfileChart(&window);
    std::array<QLabel *, 4> labels{};
};

} // namespace

class TestResultsDisplay : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsSixteenRedBarsOfTheStensInFactorOrder();
    void movesTheChartToTheCornerWithoutResizingIt();
    void captionsAndShowsTheFourValueLabels();
    void stenOfZeroWithoutNormTableGivesEmptyBarsMarkedZero();
    void secondOrderCaption_data();
    void secondOrderCaption();
    void valueLabelsShowEveryValueWhole_data();
    void valueLabelsShowEveryValueWhole();

private:
    void fill(const zorven::Sheet &sheet);

    std::optional<ResultsWindow> m_display;
};

void TestResultsDisplay::init()
{
    m_display.emplace();
    m_display->window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_display->window));
}

void TestResultsDisplay::cleanup()
{
    m_display.reset();
}

void TestResultsDisplay::fill(const zorven::Sheet &sheet)
{
    zorven::fillResultsDisplay(*m_display->chart, m_display->labels, sheet, u',');
}

void TestResultsDisplay::showsSixteenRedBarsOfTheStensInFactorOrder()
{
    fill(scoredSheet());

    const zorven::ProfileSeries &series = m_display->chart->series(0);
    QCOMPARE(series.pointCount(), zorven::kFactorCount);
    for (int k = 0; k < zorven::kFactorCount; ++k) {
        const QByteArray where = "point " + QByteArray::number(k);
        QVERIFY2(series.value(k) == double(kMixedStens[k]), where);
        QVERIFY2(series.label(k) == kLatinFactorLabels[k], where);
        QVERIFY2(series.colour(k) == QColor(255, 0, 0), where);
        QVERIFY2(series.markText(k) == QString::number(kMixedStens[k]), where);
    }
}

void TestResultsDisplay::movesTheChartToTheCornerWithoutResizingIt()
{
    const zorven::ProfileChart *chart = m_display->chart;
    QCOMPARE(m_display->window.findChild<QWidget *>(QStringLiteral("Chart1")), chart);
    QVERIFY(!chart->isVisible());
    QCOMPARE(chart->pos(), QPoint(440, 16));

    fill(scoredSheet());

    QCOMPARE(chart->pos(), QPoint(0, 0));
    QVERIFY(chart->isVisible());
    QCOMPARE(chart->size(), QSize(410, 260));
}

void TestResultsDisplay::captionsAndShowsTheFourValueLabels()
{
    fill(scoredSheet());

    const QStringList expected = {"F1 = 6,8", "F2 = -1,7", "F3 = 0", "F4 = 5"};
    for (int f = 0; f < 4; ++f) {
        QCOMPARE(m_display->labels[f]->text(), expected[f]);
        QVERIFY(m_display->labels[f]->isVisible());
    }
}

// Without a norm table for the respondent the scoring run leaves every sten at 0; the
// display must still show sixteen bars, each empty and marked 0.
void TestResultsDisplay::stenOfZeroWithoutNormTableGivesEmptyBarsMarkedZero()
{
    zorven::Sheet sheet;
    sheet.answers = keyedAnswers();
    bool resultsStepRan = false;
    zorven::scoringRun(sheet, zorven::Respondent{zorven::Sex::None, 30}, [&] {
        resultsStepRan = true;
        fill(sheet);
    });
    QVERIFY(resultsStepRan);
    QVERIFY2(std::any_of(sheet.raw.begin(), sheet.raw.end(), [](auto raw) { return raw > 0; }),
             "the keyed sheet must score, or a zero sten proves nothing");

    const zorven::ProfileSeries &series = m_display->chart->series(0);
    QCOMPARE(series.pointCount(), zorven::kFactorCount);
    for (int k = 0; k < zorven::kFactorCount; ++k) {
        const QByteArray where = "point " + QByteArray::number(k);
        QVERIFY2(series.value(k) == 0.0, where);
        QVERIFY2(series.markText(k) == QStringLiteral("0"), where);
        QVERIFY2(series.label(k) == kLatinFactorLabels[k], where);
    }
    QVERIFY(m_display->chart->isVisible());
}

void TestResultsDisplay::secondOrderCaption_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("value");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("caption");

    QTest::newRow("tenths, comma") << 0 << 6.8 << QChar(u',') << "F1 = 6,8";
    QTest::newRow("tenths, full stop") << 0 << 6.8 << QChar(u'.') << "F1 = 6.8";
    QTest::newRow("whole: no separator") << 3 << 5.0 << QChar(u',') << "F4 = 5";
    QTest::newRow("negative") << 1 << -1.7 << QChar(u',') << "F2 = -1,7";
    QTest::newRow("zero") << 2 << 0.0 << QChar(u',') << "F3 = 0";
    QTest::newRow("negative zero") << 2 << -0.0 << QChar(u',') << "F3 = 0";
    QTest::newRow("two digits before the separator") << 3 << 10.4 << QChar(u',') << "F4 = 10,4";
    QTest::newRow("sum with a binary remainder") << 0 << 0.1 + 0.2 << QChar(u',') << "F1 = 0,3";
}

void TestResultsDisplay::secondOrderCaption()
{
    QFETCH(int, index);
    QFETCH(double, value);
    QFETCH(QChar, separator);
    QFETCH(QString, caption);
    QCOMPARE(zorven::secondOrderCaption(index, value, separator), caption);
}


void TestResultsDisplay::valueLabelsShowEveryValueWhole_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QChar>("separator");
    QTest::newRow("lowest") << -3.5 << QChar(u',');
    QTest::newRow("highest") << 14.5 << QChar(u',');
    QTest::newRow("two digits and a point") << 10.3 << QChar(u'.');
}

// The labels stand where the form puts them, in its 13 px bold font; each shows its whole
// caption and none runs into the next.
void TestResultsDisplay::valueLabelsShowEveryValueWhole()
{
    QFETCH(double, value);
    QFETCH(QChar, separator);
    QFont font = m_display->window.font();
    font.setPixelSize(13);
    font.setBold(true);
    const std::array<int, 4> lefts = {32, 120, 224, 312};
    for (std::size_t f = 0; f < 4; ++f) {
        m_display->labels[f]->setFont(font);
        m_display->labels[f]->setGeometry(lefts[f], 264, 66, 16);
    }
    zorven::Sheet sheet = scoredSheet();
    sheet.secondOrder = {value, value, value, value};

    zorven::fillResultsDisplay(*m_display->chart, m_display->labels, sheet, separator);

    for (std::size_t f = 0; f < 4; ++f) {
        const QLabel *label = m_display->labels[f];
        QVERIFY2(label->width() >= QFontMetrics(font).horizontalAdvance(label->text()),
                 qPrintable(label->text()));
        QCOMPARE(label->x(), lefts[f]);
        if (f + 1 < 4)
            QVERIFY2(label->geometry().right() < lefts[f + 1], qPrintable(label->text()));
    }
}

QTEST_MAIN(TestResultsDisplay)
#include "tst_results_display.moc"
