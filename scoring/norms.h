#pragma once
// Sten norms: the ten norm tables, one per sex and age band.

#include "questionnaire/respondent.h"
#include "scoring/factors.h"

namespace zorven {

inline constexpr int kNormTableCount = 10;

// The highest raw score a factor's statements can give.
inline constexpr std::array<std::uint8_t, kFactorCount> kTopRawScore = {
    20, 13, 26, 26, 26, 20, 26, 20, 20, 26, 20, 26, 20, 20, 20, 26,
};

// Number 1..10 of the norm table for a sex and age, 0 for none.
int normTableNumber(Sex sex, int age);

// The sten that `raw` gives on `factor` (0..15) in norm table 1..10; 0 above the top.
std::uint8_t normSten(int table, int factor, int raw);

// Second step of the scoring run. With no table for the respondent nothing is written and
// every sten keeps its value; a raw score above its factor's top leaves that sten alone.
void convertToStens(Sheet &sheet, Sex sex, int age);

} // namespace zorven
