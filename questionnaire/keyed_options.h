#pragma once
// The options keyed for each statement, as the paper sheet has them: the letter the
// respondent marked, not the points it earns. The answer record cannot give them back
// (a reasoning problem's two wrong options both earn 0), and the results table, the
// check against the paper sheet and re-scoring all need them.

#include "questionnaire/answer_record.h"

#include <array>
#include <cstdint>

namespace zorven {

inline constexpr int kNoOption = 0;

class KeyedOptions
{
public:
    // 1, 2 or 3 for options a, b, c; kNoOption while statement q is not keyed.
    int at(int q) const
    {
        Q_ASSERT(q >= 1 && q <= kStatementCount);
        return m_options[q - 1];
    }

    void set(int q, int option)
    {
        Q_ASSERT(q >= 1 && q <= kStatementCount);
        Q_ASSERT(option >= kNoOption && option <= 3);
        m_options[q - 1] = static_cast<std::uint8_t>(option);
    }

    bool isComplete() const;

    friend bool operator==(const KeyedOptions &, const KeyedOptions &) = default;

private:
    std::array<std::uint8_t, kStatementCount> m_options{};
};

// The answer record that keying these options leaves: each keyed statement's code from
// the answer key. The closing check statement's answer is never recorded, so its entry
// stays 0 however it was keyed, as the keying leaves it.
AnswerRecord answerRecordOf(const KeyedOptions &options);

} // namespace zorven
