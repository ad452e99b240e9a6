// The scoring key: which statements each primary factor sums. Statements 1 and 2 belong to
// no factor; every other statement belongs to exactly one. Statement 187 stays in I's list
// although its answer is never recorded, so it always adds 0.

#include "scoring/raw_scores.h"

#include "questionnaire/statements.h"

namespace zorven {

constexpr std::array<FactorStatements, kFactorCount> kFactorKeyTable = {{
    /* A  */ {  3,  26,  27,  51,  52,  76, 101, 126, 151, 176},
    /* B  */ { 28,  53,  54,  77,  78, 102, 103, 127, 128, 152, 153, 177, 178},
    /* C  */ {  4,   5,  29,  30,  55,  79,  80, 104, 105, 129, 130, 154, 179},
    /* E  */ {  6,   7,  31,  32,  56,  57,  81, 106, 131, 155, 156, 180, 181},
    /* F  */ {  8,  33,  58,  82,  83, 107, 108, 132, 133, 157, 158, 182, 183},
    /* G  */ {  9,  34,  59,  84, 109, 134, 159, 160, 184, 185},
    /* H  */ { 10,  35,  36,  60,  61,  85,  86, 110, 111, 135, 136, 161, 186},
    /* I  */ { 11,  12,  37,  62,  87, 112, 137, 138, 162, 163, 187},
    /* L  */ { 13,  38,  63,  64,  88,  89, 113, 114, 139, 164},
    /* M  */ { 14,  15,  39,  40,  65,  90,  91, 115, 116, 140, 141, 165, 166},
    /* N  */ { 16,  17,  41,  42,  66,  67,  92, 117, 142, 167},
    /* O  */ { 18,  19,  43,  44,  68,  69,  93,  94, 118, 119, 143, 144, 168},
    /* Q1 */ { 20,  21,  45,  46,  70,  95, 120, 145, 169, 170},
    /* Q2 */ { 22,  47,  71,  72,  96,  97, 121, 122, 146, 171},
    /* Q3 */ { 23,  24,  48,  73,  98, 123, 147, 148, 172, 173},
    /* Q4 */ { 25,  49,  50,  74,  75,  99, 100, 124, 125, 149, 150, 174, 175},
}};

// Statements 3..187 each appear exactly once, 1 and 2 never: 185 scored statements.
constexpr bool eachStatementScoredOnce()
{
    std::array<int, kStatementCount + 1> uses{};
    for (const FactorStatements &row : kFactorKeyTable)
        for (std::uint8_t q : row)
            if (q != 0)
                ++uses[q];
    for (int q = 1; q <= kStatementCount; ++q)
        if (uses[q] != (q >= 3 ? 1 : 0))
            return false;
    return true;
}
static_assert(eachStatementScoredOnce());

const std::array<FactorStatements, kFactorCount> kFactorKey = kFactorKeyTable;

void computeRawScores(Sheet &sheet)
{
    for (int factor = 0; factor < kFactorCount; ++factor) {
        std::uint8_t sum = 0;
        for (std::uint8_t q : kFactorKey[factor])
            if (q != 0)
                sum = static_cast<std::uint8_t>(sum + sheet.answers.at(q));
        sheet.raw[factor] = sum;
    }
}

} // namespace zorven
