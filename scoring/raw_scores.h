#pragma once

#include "scoring/factors.h"

namespace zorven {

// The statements each factor sums, in ascending order; 0 ends a shorter list.
using FactorStatements = std::array<std::uint8_t, 13>;
extern const std::array<FactorStatements, kFactorCount> kFactorKey;

// First step of the scoring run: each factor's raw score is the sum of the answer-record
// entries of its statements.
void computeRawScores(Sheet &sheet);

} // namespace zorven
