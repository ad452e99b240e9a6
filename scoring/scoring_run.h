#pragma once

#include "questionnaire/respondent.h"
#include "scoring/factors.h"

#include <functional>

namespace zorven {

// The respondent's sex and age, as the window's controls hold them when the run starts.
struct Respondent {
    Sex sex = Sex::None;
    int age = kMinimumAge;
};

// The scoring run, started once by the last option press: raw scores, stens, F1..F4 and
// then the results step (report and display), each step reading what the one before
// left in `sheet`.
void scoringRun(Sheet &sheet, const Respondent &respondent,
                const std::function<void()> &resultsStep);

} // namespace zorven
