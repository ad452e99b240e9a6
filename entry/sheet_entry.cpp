#include "entry/sheet_entry.h"

#include "questionnaire/answer_key.h"
#include "questionnaire/statements.h"

#include <QtGlobal>

#include <algorithm>

namespace zorven {

static_assert(SheetEntry::kLastStatement == kStatementCount);

SheetEntry::SheetEntry(AnswerRecord &answers, KeyedOptions &options, SheetEntryView &view)
    : m_answers(answers), m_options(options), m_view(view)
{
}

// Also the start of every later sheet: nothing of the sheet before may remain, so every
// variable is set again, as it is before the first sheet.
void SheetEntry::start()
{
    m_optionOffset = 0;
    m_statementNumber = 1;
    m_answerChoice = 0;
    m_ageMaximum = kMaleMaximumAge;
    m_nextEnabled = false;
    m_undoButton = UndoButton::Hidden;
    setStage(Stage::RespondentData);
    refreshStatement();
}

void SheetEntry::nameChanged()
{
    enableNextWhenDataEntered();
}

void SheetEntry::sexChanged()
{
    enableNextWhenDataEntered();
    if (const std::optional<int> maximum = maximumAgeFor(m_view.sex())) {
        m_ageMaximum = *maximum;
        m_view.setAgeMaximum(m_ageMaximum);
    }
}

void SheetEntry::nextPressed()
{
    if (m_stage != Stage::RespondentData || !m_nextEnabled)
        return;
    setStage(Stage::Keying);
    bringAgeIntoRange();
}

void SheetEntry::optionPressed(int choice)
{
    Q_ASSERT(choice >= 1 && choice <= 3);
    if (m_stage != Stage::Keying)
        return;
    m_answerChoice = static_cast<std::uint8_t>(choice);
    RecordAnswer();
}

void SheetEntry::undoPressed()
{
    if (m_stage != Stage::Keying || m_undoButton != UndoButton::Available)
        return;
    setUndoButton(UndoButton::Used);
    --m_statementNumber;
    m_optionOffset -= 3;
    m_answers.set(m_statementNumber, 0);
    m_options.set(m_statementNumber, kNoOption);
    refreshStatement();
}

void SheetEntry::handOverToScreen()
{
    if (m_stage != Stage::RespondentData)
        return;
    setStage(Stage::OnScreen);
    bringAgeIntoRange();
}

void SheetEntry::answeredOnScreen(const KeyedOptions &options)
{
    Q_ASSERT(options.isComplete());
    if (m_stage != Stage::OnScreen)
        return;
    m_options = options;
    m_answers = answerRecordOf(options);
    m_statementNumber = kLastStatement;
    m_optionOffset = 3 * (kLastStatement - 1);
    m_answerChoice = static_cast<std::uint8_t>(options.at(kLastStatement));
    setStage(Stage::Finished);
    m_view.startScoringRun();
}

void SheetEntry::takenBackFromScreen()
{
    if (m_stage == Stage::OnScreen)
        setStage(Stage::RespondentData);
}

void SheetEntry::setStage(Stage stage)
{
    m_stage = stage;
    m_view.setStage(stage);
}

// Only the name field's changed flag counts, not its text, and nothing disables "Далее"
// again once it is enabled.
void SheetEntry::enableNextWhenDataEntered()
{
    if (m_nextEnabled || !m_view.nameChangedByUser() || m_view.sex() == Sex::None)
        return;
    m_nextEnabled = true;
    m_view.enableNext();
}

// Leaving the age field pulls the age into range, but "Далее" can be pressed without the
// field losing the focus first, and a woman's age may have been entered under the men's
// maximum. Scoring must never see an age outside its sex's norm bands.
void SheetEntry::bringAgeIntoRange()
{
    const int age = m_view.age();
    const int inRange = std::clamp(age, kMinimumAge, m_ageMaximum);
    if (inRange != age)
        m_view.setAge(inRange);
}

// The press for the last statement records no points: that statement only checks the
// respondent's care, and its entry stays 0 for the scoring run. Its letter is kept all
// the same, as the sheet shows it.
void SheetEntry::RecordAnswer()
{
    m_options.set(m_statementNumber, m_answerChoice);
    if (m_statementNumber == kLastStatement) {
        setStage(Stage::Finished);
        m_undoButton = UndoButton::Hidden;
        m_view.startScoringRun();
        return;
    }
    m_answers.set(m_statementNumber, answerCode(m_optionOffset + m_answerChoice));
    m_optionOffset += 3;
    ++m_statementNumber;
    refreshStatement();
    setUndoButton(UndoButton::Available);
}

void SheetEntry::refreshStatement()
{
    const int q = m_statementNumber;
    m_view.showStatement({
        QStringLiteral("Утверждение № ") + QString::number(q),
        statementText(q),
        {optionText(m_optionOffset + 1), optionText(m_optionOffset + 2),
         optionText(m_optionOffset + 3)},
    });
}

void SheetEntry::setUndoButton(UndoButton state)
{
    m_undoButton = state;
    m_view.setUndoButton(state);
}

} // namespace zorven
