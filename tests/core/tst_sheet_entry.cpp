// The keying logic driven through a fake window.

#include "entry/sheet_entry.h"
#include "questionnaire/answer_key.h"
#include "questionnaire/statements.h"

#include <QTest>

#include <optional>

using zorven::Sex;
using zorven::SheetEntry;
using zorven::Stage;
using zorven::StatementOnShow;
using zorven::UndoButton;

namespace {

class FakeView : public zorven::SheetEntryView
{
public:
    explicit FakeView(const zorven::AnswerRecord &answers) : m_answers(answers) {}

    bool nameChangedByUser() const override { return nameFlag; }
    Sex sex() const override { return sexChosen; }
    int age() const override { return ageShown; }
    void setAge(int age) override
    {
        ageShown = age;
        ++ageWrites;
    }
    void setAgeMaximum(int maximum) override { ageMaximum = maximum; }
    void enableNext() override { ++nextEnablings; }
    void showStatement(const StatementOnShow &statement) override { shown = statement; }
    void setUndoButton(UndoButton state) override { undo = state; }
    void setStage(Stage stage) override { stages << stage; }
    void startScoringRun() override
    {
        ++scoringRuns;
        answersAtScoring = m_answers;
        stagesAtScoring = stages;
    }

    bool nameFlag = false;
    Sex sexChosen = Sex::None;
    int ageShown = zorven::kMinimumAge;
    int ageWrites = 0;
    std::optional<int> ageMaximum;
    int nextEnablings = 0;
    StatementOnShow shown;
    UndoButton undo = UndoButton::Hidden;
    QList<Stage> stages;
    int scoringRuns = 0;
    zorven::AnswerRecord answersAtScoring;
    QList<Stage> stagesAtScoring;

private:
    const zorven::AnswerRecord &m_answers;
};

StatementOnShow expectedStatement(int q)
{
    const int offset = 3 * (q - 1);
    return {QStringLiteral("Утверждение № ") + QString::number(q), zorven::statementText(q),
            {zorven::optionText(offset + 1), zorven::optionText(offset + 2),
             zorven::optionText(offset + 3)}};
}

// The option pressed for statement q in the sheets these tests key.
int choiceFor(int q)
{
    return q % 3 + 1;
}

// The keying of one sheet with everything it writes to, made afresh for each test.
struct Keying
{
    zorven::AnswerRecord answers;
    zorven::KeyedOptions options;
    FakeView view{answers};
    SheetEntry entry{answers, options, view};
};

} // namespace

class TestSheetEntry : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startShowsStatementOne();
    void nextIsEnabledByNameFlagAndSex_data();
    void nextIsEnabledByNameFlagAndSex();
    void nextIsNeverDisabledAgain();
    void sexChoiceSetsAgeMaximumOnly_data();
    void sexChoiceSetsAgeMaximumOnly();
    void nextStartsKeyingWithAgeInRange_data();
    void nextStartsKeyingWithAgeInRange();
    void nextIsIgnoredWhileDisabled();
    void optionsAreIgnoredBeforeKeying();
    void optionRecordsItsCode_data();
    void optionRecordsItsCode();
    void firstAnswerMovesToStatementTwoWithUndo();
    void undoTakesBackOneAnswerOnly();
    void answerAfterUndoStandsAndReenablesUndo();
    void undoFromDeeperStatementClearsOnlyThatEntry();
    void fullSheetRecords186AnswersAndStartsScoringOnce();
    void offsetFollowsStatementNumber();

private:
    void startKeying();
    void answer(int statements);

    std::optional<Keying> m_keying;
};

void TestSheetEntry::init()
{
    m_keying.emplace();
    m_keying->entry.start();
}

void TestSheetEntry::cleanup()
{
    m_keying.reset();
}

void TestSheetEntry::startKeying()
{
    m_keying->view.nameFlag = true;
    m_keying->entry.nameChanged();
    m_keying->view.sexChosen = Sex::Male;
    m_keying->entry.sexChanged();
    m_keying->entry.nextPressed();
    QVERIFY(m_keying->entry.isKeying());
}

// Answers the next `statements` statements with choiceFor(q).
void TestSheetEntry::answer(int statements)
{
    for (int i = 0; i < statements; ++i)
        m_keying->entry.optionPressed(choiceFor(m_keying->entry.statementNumber()));
}

void TestSheetEntry::startShowsStatementOne()
{
    QCOMPARE(m_keying->entry.statementNumber(), 1);
    QCOMPARE(m_keying->entry.optionOffset(), 0);
    QCOMPARE(m_keying->view.shown.caption, expectedStatement(1).caption);
    QCOMPARE(m_keying->view.shown.text, expectedStatement(1).text);
    QCOMPARE(m_keying->view.shown.options, expectedStatement(1).options);
    QCOMPARE(m_keying->view.undo, UndoButton::Hidden);
    QCOMPARE(m_keying->view.stages, QList{Stage::RespondentData});
}

// Steps: 'n' the operator changes the name, 'x' the name field is emptied again (its flag
// stays), 'm' / 'f' a sex is chosen.
void TestSheetEntry::nextIsEnabledByNameFlagAndSex_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("nothing") << "" << false;
    QTest::newRow("sex without name") << "m" << false;
    QTest::newRow("name without sex") << "n" << false;
    QTest::newRow("sex, then name") << "fn" << true;
    QTest::newRow("name, then sex") << "nm" << true;
    QTest::newRow("name typed and deleted, then sex") << "nxf" << true;
}

void TestSheetEntry::nextIsEnabledByNameFlagAndSex()
{
    QFETCH(QString, steps);
    QFETCH(bool, enabled);
    for (const QChar step : steps) {
        if (step == u'n' || step == u'x') {
            m_keying->view.nameFlag = true;
            m_keying->entry.nameChanged();
        } else {
            m_keying->view.sexChosen = step == u'm' ? Sex::Male : Sex::Female;
            m_keying->entry.sexChanged();
        }
    }
    QCOMPARE(m_keying->entry.isNextEnabled(), enabled);
    QCOMPARE(m_keying->view.nextEnablings, enabled ? 1 : 0);
}

void TestSheetEntry::nextIsNeverDisabledAgain()
{
    m_keying->view.nameFlag = true;
    m_keying->entry.nameChanged();
    m_keying->view.sexChosen = Sex::Female;
    m_keying->entry.sexChanged();
    m_keying->view.sexChosen = Sex::None;
    m_keying->entry.sexChanged();
    m_keying->entry.nameChanged();
    QVERIFY(m_keying->entry.isNextEnabled());
    QCOMPARE(m_keying->view.nextEnablings, 1);
}

void TestSheetEntry::sexChoiceSetsAgeMaximumOnly_data()
{
    QTest::addColumn<Sex>("sex");
    QTest::addColumn<std::optional<int>>("maximum");
    QTest::newRow("male") << Sex::Male << std::optional<int>(60);
    QTest::newRow("female") << Sex::Female << std::optional<int>(55);
    QTest::newRow("none") << Sex::None << std::optional<int>();
}

void TestSheetEntry::sexChoiceSetsAgeMaximumOnly()
{
    QFETCH(Sex, sex);
    QFETCH(std::optional<int>, maximum);
    m_keying->view.ageShown = 58;
    m_keying->view.sexChosen = sex;
    m_keying->entry.sexChanged();
    QCOMPARE(m_keying->view.ageMaximum, maximum);
    QCOMPARE(m_keying->view.ageShown, 58);
    QCOMPARE(m_keying->view.ageWrites, 0);
}

void TestSheetEntry::nextStartsKeyingWithAgeInRange_data()
{
    QTest::addColumn<Sex>("sex");
    QTest::addColumn<int>("age");
    QTest::addColumn<int>("ageAfter");
    QTest::newRow("woman 58 entered under the men's maximum") << Sex::Female << 58 << 55;
    QTest::newRow("woman 55") << Sex::Female << 55 << 55;
    QTest::newRow("man 58") << Sex::Male << 58 << 58;
    QTest::newRow("man 61, focus never left the field") << Sex::Male << 61 << 60;
    QTest::newRow("woman 12") << Sex::Female << 12 << 16;
    QTest::newRow("man -3") << Sex::Male << -3 << 16;
    QTest::newRow("man 16") << Sex::Male << 16 << 16;
}

void TestSheetEntry::nextStartsKeyingWithAgeInRange()
{
    QFETCH(Sex, sex);
    QFETCH(int, age);
    QFETCH(int, ageAfter);
    m_keying->view.nameFlag = true;
    m_keying->entry.nameChanged();
    m_keying->view.sexChosen = sex;
    m_keying->entry.sexChanged();
    m_keying->view.ageShown = age;
    m_keying->entry.nextPressed();
    QCOMPARE(m_keying->view.stages, (QList{Stage::RespondentData, Stage::Keying}));
    QCOMPARE(m_keying->view.ageShown, ageAfter);
    QCOMPARE(m_keying->view.ageWrites, age == ageAfter ? 0 : 1);
    QCOMPARE(m_keying->view.undo, UndoButton::Hidden);
    QCOMPARE(m_keying->entry.statementNumber(), 1);
}

void TestSheetEntry::nextIsIgnoredWhileDisabled()
{
    m_keying->view.sexChosen = Sex::Male;
    m_keying->entry.sexChanged();
    m_keying->entry.nextPressed();
    QVERIFY(!m_keying->entry.isKeying());
    QCOMPARE(m_keying->view.stages, QList{Stage::RespondentData});
}

void TestSheetEntry::optionsAreIgnoredBeforeKeying()
{
    m_keying->entry.optionPressed(1);
    QCOMPARE(m_keying->entry.statementNumber(), 1);
    QCOMPARE(m_keying->answers.at(1), 0);
}

void TestSheetEntry::optionRecordsItsCode_data()
{
    QTest::addColumn<int>("statement");
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("code");
    QTest::newRow("statement 3, option c") << 3 << 3 << 0;
    QTest::newRow("statement 3, option a") << 3 << 1 << 2;
    for (const int q : {1, 2, 4, 50, 100, 186}) {
        for (int choice = 1; choice <= 3; ++choice)
            QTest::addRow("statement %d, option %d", q, choice)
                << q << choice << int(zorven::answerCode(q, choice));
    }
}

void TestSheetEntry::optionRecordsItsCode()
{
    QFETCH(int, statement);
    QFETCH(int, choice);
    QFETCH(int, code);
    startKeying();
    answer(statement - 1);
    m_keying->entry.optionPressed(choice);
    QCOMPARE(m_keying->entry.answerChoice(), choice);
    QCOMPARE(int(m_keying->answers.at(statement)), code);
    QCOMPARE(m_keying->entry.statementNumber(), statement + 1);
}

void TestSheetEntry::firstAnswerMovesToStatementTwoWithUndo()
{
    startKeying();
    m_keying->entry.optionPressed(1);
    QCOMPARE(m_keying->entry.statementNumber(), 2);
    QCOMPARE(m_keying->view.shown.caption, expectedStatement(2).caption);
    QCOMPARE(m_keying->view.shown.text, expectedStatement(2).text);
    QCOMPARE(m_keying->view.shown.options, expectedStatement(2).options);
    QCOMPARE(m_keying->view.undo, UndoButton::Available);
}

void TestSheetEntry::undoTakesBackOneAnswerOnly()
{
    startKeying();
    m_keying->entry.optionPressed(1);
    m_keying->entry.undoPressed();
    QCOMPARE(m_keying->entry.statementNumber(), 1);
    QCOMPARE(m_keying->view.shown.caption, expectedStatement(1).caption);
    QCOMPARE(int(m_keying->answers.at(1)), 0);
    QCOMPARE(m_keying->view.undo, UndoButton::Used);

    m_keying->entry.undoPressed();
    QCOMPARE(m_keying->entry.statementNumber(), 1);
    QCOMPARE(m_keying->entry.optionOffset(), 0);
    QCOMPARE(m_keying->view.undo, UndoButton::Used);
}

void TestSheetEntry::answerAfterUndoStandsAndReenablesUndo()
{
    startKeying();
    answer(2);
    m_keying->entry.optionPressed(1);
    m_keying->entry.undoPressed();
    m_keying->entry.optionPressed(3);
    QCOMPARE(int(m_keying->answers.at(3)), int(zorven::answerCode(3, 3)));
    QCOMPARE(m_keying->entry.statementNumber(), 4);
    QCOMPARE(m_keying->view.undo, UndoButton::Available);
}

void TestSheetEntry::undoFromDeeperStatementClearsOnlyThatEntry()
{
    startKeying();
    answer(10);
    const zorven::AnswerRecord before = m_keying->answers;
    m_keying->entry.undoPressed();
    QCOMPARE(m_keying->entry.statementNumber(), 10);
    QCOMPARE(m_keying->view.shown.text, expectedStatement(10).text);
    for (int q = 1; q <= zorven::kStatementCount; ++q) {
        QCOMPARE(m_keying->answers.at(q), q == 10 ? 0 : before.at(q));
        QCOMPARE(m_keying->options.at(q), q < 10 ? choiceFor(q) : zorven::kNoOption);
    }
}

void TestSheetEntry::fullSheetRecords186AnswersAndStartsScoringOnce()
{
    startKeying();
    answer(186);
    QCOMPARE(m_keying->entry.statementNumber(), 187);
    QCOMPARE(m_keying->view.scoringRuns, 0);

    m_keying->entry.optionPressed(2);
    QVERIFY(m_keying->entry.isFinished());
    QCOMPARE(m_keying->view.scoringRuns, 1);
    QCOMPARE(m_keying->view.stagesAtScoring,
             (QList{Stage::RespondentData, Stage::Keying, Stage::Finished}));
    QCOMPARE(m_keying->entry.statementNumber(), 187);
    QCOMPARE(m_keying->view.shown.caption, expectedStatement(187).caption);
    for (int q = 1; q < 187; ++q)
        QCOMPARE(m_keying->view.answersAtScoring.at(q), zorven::answerCode(q, choiceFor(q)));
    QCOMPARE(int(m_keying->view.answersAtScoring.at(187)), 0);
    // The letters keep statement 187's too, and give back exactly the record scored.
    QCOMPARE(m_keying->options.at(187), 2);
    QVERIFY(m_keying->options.isComplete());
    const zorven::AnswerRecord rebuilt = zorven::answerRecordOf(m_keying->options);
    for (int q = 1; q <= 187; ++q)
        QCOMPARE(rebuilt.at(q), m_keying->view.answersAtScoring.at(q));

    m_keying->entry.optionPressed(1);
    m_keying->entry.undoPressed();
    QCOMPARE(m_keying->view.scoringRuns, 1);
    QCOMPARE(m_keying->entry.statementNumber(), 187);
    QCOMPARE(int(m_keying->answers.at(186)), int(zorven::answerCode(186, choiceFor(186))));
}

void TestSheetEntry::offsetFollowsStatementNumber()
{
    startKeying();
    for (int step = 0; step < 60; ++step) {
        if (step % 4 == 3)
            m_keying->entry.undoPressed();
        else
            m_keying->entry.optionPressed(choiceFor(step));
        QCOMPARE(m_keying->entry.optionOffset(), 3 * (m_keying->entry.statementNumber() - 1));
    }
}

QTEST_GUILESS_MAIN(TestSheetEntry)
#include "tst_sheet_entry.moc"
