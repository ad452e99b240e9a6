// The answer key of Form A, laid out as the printed key: one cell per statement giving
// the points of options a, b and c, ten statements a row.
//
//   000  statements 1 and 2, the opening checks: nothing scores
//   210  graded statement whose high pole is option a
//   012  graded statement whose high pole is option c
//   010, 001, 100  one-point statements: the reasoning problems and the closing check 187

#include "questionnaire/answer_key.h"

#include "questionnaire/statements.h"

#include <QtGlobal>

#include <array>
#include <string_view>

namespace zorven {
namespace {

constexpr std::array<std::string_view, kStatementCount> kKey = {
    //           +0     +1     +2     +3     +4     +5     +6     +7     +8     +9
    /*    1-10 */ "000", "000", "210", "210", "012", "012", "210", "012", "012", "210",
    /*   11-20 */ "012", "210", "012", "012", "012", "012", "210", "210", "012", "210",
    /*   21-30 */ "012", "012", "012", "012", "012", "012", "012", "010", "012", "210",
    /*   31-40 */ "012", "012", "210", "012", "012", "210", "210", "210", "210", "210",
    /*   41-50 */ "012", "210", "210", "012", "012", "210", "210", "210", "210", "210",
    /*   51-60 */ "012", "210", "010", "010", "210", "210", "012", "210", "012", "012",
    /*   61-70 */ "012", "012", "012", "012", "210", "012", "012", "012", "210", "210",
    /*   71-80 */ "210", "210", "210", "210", "012", "012", "001", "010", "012", "012",
    /*   81-90 */ "012", "012", "210", "012", "012", "012", "012", "210", "012", "012",
    /*  91-100 */ "210", "012", "012", "210", "012", "012", "012", "210", "210", "012",
    /* 101-110 */ "210", "001", "010", "210", "210", "012", "012", "012", "210", "210",
    /* 111-120 */ "210", "210", "210", "210", "210", "210", "210", "210", "210", "012",
    /* 121-130 */ "012", "012", "012", "210", "012", "210", "001", "010", "012", "210",
    /* 131-140 */ "210", "210", "210", "210", "210", "210", "012", "210", "012", "210",
    /* 141-150 */ "012", "210", "210", "012", "210", "210", "012", "210", "210", "012",
    /* 151-160 */ "012", "100", "001", "012", "210", "210", "012", "012", "012", "210",
    /* 161-170 */ "012", "012", "210", "210", "012", "012", "210", "012", "210", "012",
    /* 171-180 */ "210", "012", "210", "210", "012", "210", "100", "100", "210", "210",
    /* 181-187 */ "210", "210", "210", "210", "210", "210", "010",
};

constexpr int countPattern(std::string_view pattern)
{
    int n = 0;
    for (std::string_view cell : kKey)
        n += cell == pattern;
    return n;
}

constexpr int countCode(char code)
{
    int n = 0;
    for (std::string_view cell : kKey)
        for (char c : cell)
            n += c == code;
    return n;
}

// The printed key's own totals: a cell copied wrong shows up in one of them.
static_assert(countPattern("000") == 2 && countPattern("210") == 89 && countPattern("012") == 82
                  && countPattern("010") == 7 && countPattern("001") == 4
                  && countPattern("100") == 3,
              "pattern counts of the printed key");
static_assert(countCode('0') == 205 && countCode('1') == 185 && countCode('2') == 171,
              "code counts of the printed key");

} // namespace

std::uint8_t answerCode(int entry)
{
    Q_ASSERT(entry >= 1 && entry <= kOptionCount);
    return static_cast<std::uint8_t>(kKey[(entry - 1) / 3][(entry - 1) % 3] - '0');
}

} // namespace zorven
