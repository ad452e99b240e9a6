#pragma once
// A sheet answered on the respondent's screen, apart from any window: the answers given so
// far, the statement on show and how long each answer took. The screen and the reading of
// a session journal move it by the same two steps, so a resumed session stands exactly
// where the journal left it.

#include "questionnaire/keyed_options.h"
#include "questionnaire/respondent.h"

#include <QDateTime>
#include <QString>

#include <array>

namespace zorven {

// Who answers: the respondent data the operator typed before handing over.
struct SessionRespondent {
    QString surname;
    Sex sex = Sex::None;
    int age = kMinimumAge;
};

// No answer yet.
inline constexpr qint64 kNotTimed = -1;

// For each statement, how long it was on show before its first answer, in milliseconds;
// kNotTimed while it has none. A changed answer does not count here: by then the
// statement had been read.
using AnswerTimes = std::array<qint64, kStatementCount>;

class ScreenSession
{
public:
    ScreenSession() { m_firstAnswerTimes.fill(kNotTimed); }

    // The answer to the statement on show, `milliseconds` after it appeared; the next
    // statement comes on show. The answer to the last statement ends the session.
    void answer(int option, qint64 milliseconds);
    // Back to the statement before the one on show; false at statement 1 or at the end.
    bool back();

    int statementOnShow() const { return m_statement; }
    bool isFinished() const { return m_finished; }
    // The letters given, the last statement's included, as the keyed sheet holds them.
    const KeyedOptions &options() const { return m_options; }
    const AnswerTimes &firstAnswerTimes() const { return m_firstAnswerTimes; }
    // Every answer's time summed, changed answers included: the time spent answering.
    qint64 answeringMilliseconds() const { return m_answeringMilliseconds; }
    int answeredCount() const;

private:
    KeyedOptions m_options;
    AnswerTimes m_firstAnswerTimes{};
    qint64 m_answeringMilliseconds = 0;
    int m_statement = 1;
    bool m_finished = false;
};

} // namespace zorven
