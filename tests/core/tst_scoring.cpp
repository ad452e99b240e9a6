// The scoring run on whole keyed sheets: raw scores, stens, F1..F4.

#include "questionnaire/answer_key.h"
#include "scoring/norms.h"
#include "scoring/raw_scores.h"
#include "scoring/scoring_run.h"
#include "scoring/second_order.h"

#include <QTest>

#include <algorithm>

using namespace zorven;

Q_DECLARE_METATYPE(zorven::RawScores) // the same array type as Stens

namespace {

enum class Choice { A, B, C, Highest };

// A sheet keyed the way the window keys it: statements 1..186 recorded, 187 never.
Sheet keyedSheet(Choice choice)
{
    Sheet sheet;
    for (int q = 1; q < kStatementCount; ++q) {
        int option = int(choice) + 1;
        if (choice == Choice::Highest)
            option = answerCode(q, 1) >= std::max(answerCode(q, 2), answerCode(q, 3))
                ? 1
                : (answerCode(q, 2) >= answerCode(q, 3) ? 2 : 3);
        sheet.answers.set(q, answerCode(q, option));
    }
    return sheet;
}

Stens allStens(std::uint8_t sten)
{
    Stens stens;
    stens.fill(sten);
    return stens;
}

// Factor indices in factor order.
enum Factor { A, B, C, E, F, G, H, I, L, M, N, O, Q1, Q2, Q3, Q4 };

} // namespace

class TestScoring : public QObject
{
    Q_OBJECT

private slots:
    void answerKeyScoresTheRightOptions_data();
    void answerKeyScoresTheRightOptions();
    void rawScoresOfWholeSheets_data();
    void rawScoresOfWholeSheets();
    void emptyRecordScoresZero();
    void lastCodeOfAStatementCounts();

    void normTableSelection_data();
    void normTableSelection();
    void bandEdges_data();
    void bandEdges();
    void everyNormRowRisesFromOneToTen();
    void table6FactorAGapCountsAsSten9();
    void noNormTableLeavesStensZero_data();
    void noNormTableLeavesStensZero();
    void rawScoreAboveTopLeavesThatStenAlone();

    void secondOrder_data();
    void secondOrder();
    void secondOrderIgnoresBGNAndO();

    void scoringRunRunsStepsInOrder();
};

void TestScoring::answerKeyScoresTheRightOptions_data()
{
    QTest::addColumn<int>("statement");
    QTest::addColumn<QString>("codes"); // options a, b, c

    QTest::newRow("opening check 1") << 1 << "000";
    QTest::newRow("opening check 2") << 2 << "000";
    QTest::newRow("graded, a high") << 3 << "210";
    QTest::newRow("graded, c high") << 5 << "012";
    QTest::newRow("reasoning, b") << 28 << "010";
    QTest::newRow("reasoning, c") << 77 << "001";
    QTest::newRow("reasoning, a") << 152 << "100";
    QTest::newRow("closing check") << 187 << "010";
}

void TestScoring::answerKeyScoresTheRightOptions()
{
    QFETCH(int, statement);
    QFETCH(QString, codes);
    for (int option = 1; option <= 3; ++option)
        QCOMPARE(int(answerCode(statement, option)), codes[option - 1].digitValue());
}

void TestScoring::rawScoresOfWholeSheets_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<RawScores>("expected");

    //                                               A  B   C   E   F   G   H   I   L   M   N   O  Q1  Q2  Q3  Q4
    QTest::newRow("highest") << int(Choice::Highest) << RawScores{20, 13, 26, 26, 26, 20, 26, 20, 20, 26, 20, 26, 20, 20, 20, 26};
    QTest::newRow("all a") << int(Choice::A) << RawScores{10, 3, 14, 14, 14, 10, 14, 10, 10, 14, 10, 14, 10, 10, 10, 14};
    QTest::newRow("all b") << int(Choice::B) << RawScores{10, 6, 13, 13, 13, 10, 13, 10, 10, 13, 10, 13, 10, 10, 10, 13};
    QTest::newRow("all c") << int(Choice::C) << RawScores{10, 4, 12, 12, 12, 10, 12, 10, 10, 12, 10, 12, 10, 10, 10, 12};
}

void TestScoring::rawScoresOfWholeSheets()
{
    QFETCH(int, choice);
    QFETCH(RawScores, expected);
    Sheet sheet = keyedSheet(Choice(choice));
    computeRawScores(sheet);
    QCOMPARE(sheet.raw, expected);
}

void TestScoring::emptyRecordScoresZero()
{
    Sheet sheet;
    sheet.raw.fill(99);
    computeRawScores(sheet);
    QCOMPARE(sheet.raw, RawScores{});
}

void TestScoring::lastCodeOfAStatementCounts()
{
    Sheet sheet;
    sheet.answers.set(3, answerCode(3, 1)); // a: 2 points on A
    sheet.answers.set(3, 0);                // taken back
    sheet.answers.set(3, answerCode(3, 2)); // b: 1 point
    computeRawScores(sheet);
    QCOMPARE(int(sheet.raw[A]), 1);
}

void TestScoring::normTableSelection_data()
{
    QTest::addColumn<Sex>("sex");
    QTest::addColumn<int>("age");
    QTest::addColumn<int>("table");

    QTest::newRow("woman 15") << Sex::Female << 15 << 0;
    QTest::newRow("woman 16") << Sex::Female << 16 << 1;
    QTest::newRow("woman 19") << Sex::Female << 19 << 1;
    QTest::newRow("woman 20") << Sex::Female << 20 << 2;
    QTest::newRow("woman 24") << Sex::Female << 24 << 2;
    QTest::newRow("woman 25") << Sex::Female << 25 << 3;
    QTest::newRow("woman 33") << Sex::Female << 33 << 3;
    QTest::newRow("woman 34") << Sex::Female << 34 << 4;
    QTest::newRow("woman 45") << Sex::Female << 45 << 4;
    QTest::newRow("woman 46") << Sex::Female << 46 << 5;
    QTest::newRow("woman 55") << Sex::Female << 55 << 5;
    QTest::newRow("woman 56") << Sex::Female << 56 << 0;
    QTest::newRow("man 15") << Sex::Male << 15 << 0;
    QTest::newRow("man 16") << Sex::Male << 16 << 6;
    QTest::newRow("man 19") << Sex::Male << 19 << 6;
    QTest::newRow("man 20") << Sex::Male << 20 << 7;
    QTest::newRow("man 24") << Sex::Male << 24 << 7;
    QTest::newRow("man 25") << Sex::Male << 25 << 8;
    QTest::newRow("man 33") << Sex::Male << 33 << 8;
    QTest::newRow("man 34") << Sex::Male << 34 << 9;
    QTest::newRow("man 45") << Sex::Male << 45 << 9;
    QTest::newRow("man 46") << Sex::Male << 46 << 10;
    QTest::newRow("man 56") << Sex::Male << 56 << 10;
    QTest::newRow("man 60") << Sex::Male << 60 << 10;
    QTest::newRow("man 61") << Sex::Male << 61 << 0;
    QTest::newRow("no sex") << Sex::None << 30 << 0;
}

void TestScoring::normTableSelection()
{
    QFETCH(Sex, sex);
    QFETCH(int, age);
    QFETCH(int, table);
    QCOMPARE(normTableNumber(sex, age), table);
}

void TestScoring::bandEdges_data()
{
    QTest::addColumn<Sex>("sex");
    QTest::addColumn<int>("age");
    QTest::addColumn<int>("factor");
    QTest::addColumn<int>("raw");
    QTest::addColumn<int>("sten");

    QTest::newRow("woman 19, C 5") << Sex::Female << 19 << int(C) << 5 << 1;
    QTest::newRow("woman 20, C 5") << Sex::Female << 20 << int(C) << 5 << 2;
    QTest::newRow("woman 24, A 19") << Sex::Female << 24 << int(A) << 19 << 9;
    QTest::newRow("woman 25, A 19") << Sex::Female << 25 << int(A) << 19 << 10;
    QTest::newRow("woman 33, A 12") << Sex::Female << 33 << int(A) << 12 << 5;
    QTest::newRow("woman 34, A 12") << Sex::Female << 34 << int(A) << 12 << 6;
    QTest::newRow("woman 45, B 2") << Sex::Female << 45 << int(B) << 2 << 1;
    QTest::newRow("woman 46, B 2") << Sex::Female << 46 << int(B) << 2 << 2;
    QTest::newRow("man 19, A 6") << Sex::Male << 19 << int(A) << 6 << 2;
    QTest::newRow("man 20, A 6") << Sex::Male << 20 << int(A) << 6 << 3;
    QTest::newRow("man 24, A 6") << Sex::Male << 24 << int(A) << 6 << 3;
    QTest::newRow("man 25, A 6") << Sex::Male << 25 << int(A) << 6 << 2;
    QTest::newRow("man 33, A 8") << Sex::Male << 33 << int(A) << 8 << 4;
    QTest::newRow("man 34, A 8") << Sex::Male << 34 << int(A) << 8 << 3;
    QTest::newRow("man 45, A 10") << Sex::Male << 45 << int(A) << 10 << 5;
    QTest::newRow("man 46, A 10") << Sex::Male << 46 << int(A) << 10 << 4;
    QTest::newRow("woman 16, A 5") << Sex::Female << 16 << int(A) << 5 << 1;
    QTest::newRow("man 16, A 5") << Sex::Male << 16 << int(A) << 5 << 2;
    QTest::newRow("table 9 B 8") << Sex::Male << 40 << int(B) << 8 << 6;
    QTest::newRow("table 9 B 9") << Sex::Male << 40 << int(B) << 9 << 8;
    QTest::newRow("table 10 G 19") << Sex::Male << 50 << int(G) << 19 << 8;
    QTest::newRow("table 10 G 20") << Sex::Male << 50 << int(G) << 20 << 10;
    QTest::newRow("table 10 Q3 16") << Sex::Male << 60 << int(Q3) << 16 << 7;
    QTest::newRow("table 10 Q3 17") << Sex::Male << 60 << int(Q3) << 17 << 7;
    QTest::newRow("table 10 Q3 18") << Sex::Male << 60 << int(Q3) << 18 << 9;
    QTest::newRow("table 10 Q3 19") << Sex::Male << 60 << int(Q3) << 19 << 9;
}

// Each case goes through the whole conversion, so the selection and the look-up both count.
void TestScoring::bandEdges()
{
    QFETCH(Sex, sex);
    QFETCH(int, age);
    QFETCH(int, factor);
    QFETCH(int, raw);
    QFETCH(int, sten);
    Sheet sheet;
    sheet.raw[factor] = std::uint8_t(raw);
    convertToStens(sheet, sex, age);
    QCOMPARE(int(sheet.stens[factor]), sten);
}

// Every row starts at sten 1, ends at 10 and climbs one sten at a time; the three rows
// named here are printed without one sten, and climb two there.
void TestScoring::everyNormRowRisesFromOneToTen()
{
    struct Skip {
        int table, factor, missingSten;
    };
    const Skip skips[] = {{9, B, 7}, {10, G, 9}, {10, Q3, 8}};

    for (int table = 1; table <= kNormTableCount; ++table) {
        for (int factor = 0; factor < kFactorCount; ++factor) {
            const int top = kTopRawScore[factor];
            const QByteArray where = QByteArray("table ") + QByteArray::number(table)
                + ", factor " + QByteArray(kFactorNames[factor].data(), qsizetype(kFactorNames[factor].size()));
            QVERIFY2(normSten(table, factor, 0) == 1, where);
            QVERIFY2(normSten(table, factor, top) == 10, where);
            QVERIFY2(normSten(table, factor, top + 1) == 0, where);
            int missing = 0;
            for (int raw = 1; raw <= top; ++raw) {
                const int step = normSten(table, factor, raw) - normSten(table, factor, raw - 1);
                QVERIFY2(step >= 0 && step <= 2, where);
                if (step == 2)
                    missing = normSten(table, factor, raw) - 1;
            }
            int expectedMissing = 0;
            for (const Skip &s : skips)
                if (s.table == table && s.factor == factor)
                    expectedMissing = s.missingSten;
            QVERIFY2(missing == expectedMissing, where);
        }
    }
}

void TestScoring::table6FactorAGapCountsAsSten9()
{
    QCOMPARE(int(normSten(6, A, 16)), 9);
    QCOMPARE(int(normSten(6, A, 17)), 9);
    QCOMPARE(int(normSten(6, A, 18)), 9);
    QCOMPARE(int(normSten(6, A, 19)), 10);
}

void TestScoring::noNormTableLeavesStensZero_data()
{
    QTest::addColumn<Sex>("sex");
    QTest::addColumn<int>("age");
    QTest::newRow("no sex chosen") << Sex::None << 30;
    QTest::newRow("woman 56") << Sex::Female << 56;
    QTest::newRow("man 61") << Sex::Male << 61;
    QTest::newRow("age 15") << Sex::Male << 15;
}

void TestScoring::noNormTableLeavesStensZero()
{
    QFETCH(Sex, sex);
    QFETCH(int, age);
    Sheet sheet = keyedSheet(Choice::A);
    computeRawScores(sheet);
    convertToStens(sheet, sex, age);
    QCOMPARE(sheet.stens, Stens{});
}

void TestScoring::rawScoreAboveTopLeavesThatStenAlone()
{
    Sheet sheet;
    sheet.stens = allStens(4);
    sheet.raw.fill(10);
    sheet.raw[A] = 21;
    sheet.raw[B] = 14;
    sheet.raw[C] = 27;
    convertToStens(sheet, Sex::Female, 30); // table 3
    QCOMPARE(int(sheet.stens[A]), 4);
    QCOMPARE(int(sheet.stens[B]), 4);
    QCOMPARE(int(sheet.stens[C]), 4);
    QCOMPARE(int(sheet.stens[E]), 5);  // 10-11 in table 3
    QCOMPARE(int(sheet.stens[Q4]), 3); // 8-10
}

void TestScoring::secondOrder_data()
{
    QTest::addColumn<Stens>("stens");
    QTest::addColumn<QList<int>>("tenths"); // F1..F4 numerators

    QTest::newRow("all 1") << allStens(1) << QList<int>{68, 1, 73, 10};
    QTest::newRow("all 5") << allStens(5) << QList<int>{68, 49, 57, 50};
    QTest::newRow("all 10") << allStens(10) << QList<int>{68, 109, 37, 100};
    QTest::newRow("all 0") << allStens(0) << QList<int>{68, -11, 77, 0};

    Stens lowF1 = allStens(5);
    lowF1[L] = lowF1[Q4] = 1;
    lowF1[C] = lowF1[H] = lowF1[Q3] = 10;
    QTest::newRow("lowest F1") << lowF1 << QList<int>{14, 74, 77, 40};

    Stens highF1 = allStens(5);
    highF1[L] = highF1[Q4] = 10;
    highF1[C] = highF1[H] = highF1[Q3] = 1;
    QTest::newRow("highest F1") << highF1 << QList<int>{122, 29, 41, 58};

    Stens negativeF2 = allStens(5);
    negativeF2[A] = negativeF2[E] = negativeF2[F] = negativeF2[H] = 1;
    negativeF2[Q2] = 10;
    QTest::newRow("negative F2") << negativeF2 << QList<int>{76, -17, 49, 66};
}

// The values must be exactly the doubles nearest to n/10: compared bit for bit.
void TestScoring::secondOrder()
{
    QFETCH(Stens, stens);
    QFETCH(QList<int>, tenths);
    Sheet sheet;
    sheet.stens = stens;
    computeSecondOrder(sheet);
    for (int f = 0; f < 4; ++f) {
        const double expected = tenths[f] / 10.0;
        QVERIFY2(sheet.secondOrder[f] == expected,
                 qPrintable(QString("F%1 = %2, expected %3")
                                .arg(f + 1)
                                .arg(sheet.secondOrder[f], 0, 'g', 17)
                                .arg(expected, 0, 'g', 17)));
    }
}

void TestScoring::secondOrderIgnoresBGNAndO()
{
    Sheet reference;
    reference.stens = allStens(5);
    computeSecondOrder(reference);
    for (int factor : {B, G, N, O}) {
        Sheet changed;
        changed.stens = allStens(5);
        changed.stens[factor] = 9;
        computeSecondOrder(changed);
        QCOMPARE(changed.secondOrder, reference.secondOrder);
    }
}

void TestScoring::scoringRunRunsStepsInOrder()
{
    Sheet sheet = keyedSheet(Choice::Highest);
    bool resultsStepRan = false;
    scoringRun(sheet, Respondent{Sex::Male, 60}, [&] {
        resultsStepRan = true;
        QCOMPARE(sheet.raw[A], std::uint8_t(20));
        QCOMPARE(sheet.stens, allStens(10)); // top scores give sten 10 in every table
        QCOMPARE(sheet.secondOrder[1], 10.9);
    });
    QVERIFY(resultsStepRan);
}

QTEST_APPLESS_MAIN(TestScoring)
#include "tst_scoring.moc"
