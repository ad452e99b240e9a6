#pragma once
// The answer record: the points recorded for each statement of the sheet being keyed.

#include "questionnaire/statements.h"

#include <QtGlobal>

#include <array>
#include <cstdint>

namespace zorven {

// Entry q holds the code recorded for statement q; every entry is 0 until written.
// It holds points, not option letters: a 0 may be an unanswered statement or an answer
// worth nothing, and nothing needs to tell the two apart.
class AnswerRecord
{
public:
    std::uint8_t at(int q) const
    {
        Q_ASSERT(q >= 1 && q <= kStatementCount);
        return m_codes[q - 1];
    }

    void set(int q, std::uint8_t code)
    {
        Q_ASSERT(q >= 1 && q <= kStatementCount);
        Q_ASSERT(code <= 2);
        m_codes[q - 1] = code;
    }

private:
    std::array<std::uint8_t, kStatementCount> m_codes{};
};

} // namespace zorven
