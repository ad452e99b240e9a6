#pragma once

#include "scoring/factors.h"

#include <functional>

namespace zorven {

// The respondent's sex index (-1 none, 0 male, 1 female) and age, as the window's
// controls hold them when the run starts.
struct Respondent {
    int sexIndex = -1;
    int age = 16;
};

// The scoring run, started once by the last option press: raw scores, stens, F1..F4 and
// then the results step (report and display), each step reading what the one before
// left in `sheet`.
void scoringRun(Sheet &sheet, const Respondent &respondent,
                const std::function<void()> &resultsStep);

} // namespace zorven
