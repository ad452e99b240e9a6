#pragma once
// Signs of how a sheet was answered, for the psychologist reading the profile: facts
// about the answers, never a verdict. They are worked out for every sheet, keyed or
// answered on the screen; the time of each answer is known on the screen only.
//
// A sign is flagged only beyond its threshold below; a flag says that the fact is unusual
// enough to be looked at, not what it means.
//
// - Middle answers: option b of statements 1 to 186 (187 is not scored). The instructions
//   ask for b only when neither a nor c fits; more than half of the answers b is flagged.
// - The longest run of one letter over statements 1 to 186. A respondent answering at
//   random with the three letters alike has a longest run of about 5; one leaning on one
//   letter half the time, about 8. A run of 12 or more is flagged.
// - Answers faster than reading: a statement needs about 0.2 s a word to be read, and at
//   least 1 s however short it is (see readingMilliseconds). The first answer to a
//   statement given in less time than that counts; a changed answer does not, the
//   statement having been read before. More than a tenth of the timed answers is flagged.

#include "questionnaire/keyed_options.h"
#include "results/screen_session.h"

#include <QList>
#include <QString>

#include <optional>

namespace zorven {

// The statements the signs look at: those that are scored.
inline constexpr int kQualityStatements = kStatementCount - 1;

inline constexpr int kMiddleOption = 2;
inline constexpr int kMiddleAnswersFlaggedAbove = kQualityStatements / 2;
inline constexpr int kLongRunFlaggedFrom = 12;
inline constexpr qint64 kReadingMillisecondsPerWord = 200;
inline constexpr qint64 kShortestReadingMilliseconds = 1000;
// Flagged when more than one timed answer in this many was faster than reading.
inline constexpr int kFastAnswersFlaggedOneIn = 10;

struct ResponseQuality {
    int middleAnswers = 0;
    int longestRun = 0;
    int runOption = kNoOption;
    int runStart = 0; // the run's first statement
    // Answers on the screen only: how many first answers came faster than reading, of how
    // many timed.
    std::optional<int> fastAnswers;
    int timedAnswers = 0;
};

// The shortest time in which statement q can be read.
qint64 readingMilliseconds(int q);

ResponseQuality responseQualityOf(const KeyedOptions &options);
ResponseQuality responseQualityOf(const KeyedOptions &options, const AnswerTimes &times);

// One sign as a line of text, e.g. «средних ответов: 74 из 186».
struct QualitySign {
    QString text;
    bool flagged = false;
};
QList<QualitySign> qualitySigns(const ResponseQuality &quality);

// The heading the signs stand under, on the profile page and in the window.
extern const QString kQualitySignsHeading;

} // namespace zorven
