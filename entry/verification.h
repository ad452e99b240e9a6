#pragma once
// Verification by keying a sheet twice: the second keying, made blind from the same paper
// sheet, is compared with the first as it goes. Every difference is settled at once by the
// operator from the paper; what is settled stands. The window and the benchmark share this.

#include "questionnaire/keyed_options.h"
#include "questionnaire/respondent.h"

#include <QList>

#include <array>
#include <optional>

namespace zorven {

// A sheet as keyed: the respondent data that selects the norm table, and the letters.
struct KeyedSheet {
    Sex sex = Sex::None;
    int age = kMinimumAge;
    KeyedOptions options;

    friend bool operator==(const KeyedSheet &, const KeyedSheet &) = default;
};

// After this many differences on consecutive statements, a statement was probably skipped
// or keyed twice on one of the two keyings.
inline constexpr int kShiftedRunLength = 3;

// One answer of the second keying that differs from the first.
struct AnswerDifference {
    int statement = 0;
    int first = kNoOption;  // the first keying's option
    int second = kNoOption; // the second keying's option
    int runStart = 0;       // the statement where the run of consecutive differences began
    int runLength = 0;      // this one included

    bool looksShifted() const { return runLength >= kShiftedRunLength; }
};

class Verification
{
public:
    explicit Verification(const KeyedSheet &first);

    const KeyedSheet &first() const { return m_first; }

    // The respondent data as keyed the second time; the window settles a differing field
    // and reports what the paper shows.
    bool sexDiffers(Sex second) const { return second != m_first.sex; }
    bool ageDiffers(int second) const { return second != m_first.age; }
    void settleSex(Sex second, Sex onPaper);
    void settleAge(int second, int onPaper);

    // Statement q's option as keyed the second time: its difference from the first
    // keying, or none. Keying q again after an undo compares it again.
    std::optional<AnswerDifference> compare(int q, int second);
    // The option that stands for statement q: the keyed one, or what the paper shows.
    void settle(int q, int onPaper);
    // Statement q's answer was taken back by the undo button: it is keyed again.
    void takeBack(int q);

    // What the two keyings settled to.
    const KeyedSheet &settled() const { return m_settled; }
    // Answers compared so far, and the statements and respondent fields that differed.
    int answersCompared() const;
    QList<int> differingStatements() const;
    int differingRespondentFields() const { return m_differingFields; }
    // Answers and respondent fields where the paper overruled the first keying.
    int corrections() const;

private:
    int runLengthEndingAt(int q) const;

    KeyedSheet m_first;
    KeyedSheet m_settled;
    std::array<bool, kStatementCount> m_differs{};
    int m_differingFields = 0;
};

} // namespace zorven
