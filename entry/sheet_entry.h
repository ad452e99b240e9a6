#pragma once
// The keying of one answer sheet, from the respondent data to the last statement, apart
// from how a window draws it. The window passes its six events in and implements the
// SheetEntryView through which the keying changes what is on show.

#include "questionnaire/respondent.h"
#include "questionnaire/keyed_options.h"

#include <QString>

#include <array>
#include <cstdint>

namespace zorven {

// The statement on show: the statement group's caption, the statement and its options.
struct StatementOnShow {
    QString caption;
    QString text;
    std::array<QString, 3> options;
};

// The stages the window passes through, once each, in this order; a sheet is either keyed
// or answered by the respondent on a screen of their own.
enum class Stage { RespondentData, Keying, OnScreen, Finished };

// What the undo button shows: nothing before the first answer; after it, enabled while
// there is an answer to take back, disabled after an undo until the next answer.
enum class UndoButton { Hidden, Available, Used };

class SheetEntryView
{
public:
    virtual ~SheetEntryView() = default;

    // The respondent data as the window's fields hold it now.
    virtual bool nameChangedByUser() const = 0;
    virtual Sex sex() const = 0;
    virtual int age() const = 0; // a text that is not a whole number reads as the minimum
    virtual void setAge(int age) = 0;
    virtual void setAgeMaximum(int maximum) = 0;

    virtual void enableNext() = 0;
    virtual void showStatement(const StatementOnShow &statement) = 0;
    virtual void setUndoButton(UndoButton state) = 0;

    // What the window shows, stage by stage.
    virtual void setStage(Stage stage) = 0;

    // The scoring run, started once at the end of keying, inside the last option press.
    virtual void startScoringRun() = 0;
};

class SheetEntry
{
public:
    static constexpr int kLastStatement = 187;

    SheetEntry(AnswerRecord &answers, KeyedOptions &options, SheetEntryView &view);

    // The six events of the window. start() also begins each later sheet of the run; the
    // window empties the answers, the options and its fields first.
    void start();
    void nameChanged();
    void sexChanged();
    void nextPressed();
    void optionPressed(int choice); // 1, 2 or 3 for options a, b, c
    void undoPressed();

    // Testing at the computer: the respondent answers on a screen of their own instead of
    // the operator keying. From the respondent data, with the age brought into range as
    // «Далее» brings it, to the stage the window shows meanwhile.
    void handOverToScreen();
    // The letters the screen gave, recorded as keying them would record them (the last
    // statement's letter kept, its points not), then the scoring run.
    void answeredOnScreen(const KeyedOptions &options);
    // The respondent left before the end: back to the respondent data as typed.
    void takenBackFromScreen();

    int statementNumber() const { return m_statementNumber; }
    int optionOffset() const { return m_optionOffset; }
    int answerChoice() const { return m_answerChoice; }
    UndoButton undoButton() const { return m_undoButton; }
    bool isNextEnabled() const { return m_nextEnabled; }
    bool isKeying() const { return m_stage == Stage::Keying; }
    bool isOnScreen() const { return m_stage == Stage::OnScreen; }
    bool isFinished() const { return m_stage == Stage::Finished; }

private:
    void setStage(Stage stage);
    void enableNextWhenDataEntered();
    void bringAgeIntoRange();
    void RecordAnswer();
    void refreshStatement();
    void setUndoButton(UndoButton state);

    AnswerRecord &m_answers;
    KeyedOptions &m_options;
    SheetEntryView &m_view;
    Stage m_stage = Stage::RespondentData;
    std::uint8_t m_statementNumber = 1;
    std::int32_t m_optionOffset = 0; // always 3 * (m_statementNumber - 1)
    std::uint8_t m_answerChoice = 0;
    int m_ageMaximum = kMaleMaximumAge; // the age field's maximum before a sex is chosen
    bool m_nextEnabled = false;
    UndoButton m_undoButton = UndoButton::Hidden;
};

} // namespace zorven
