#include "scoring/scoring_run.h"

#include "scoring/norms.h"
#include "scoring/raw_scores.h"
#include "scoring/second_order.h"

namespace zorven {

void scoringRun(Sheet &sheet, const Respondent &respondent,
                const std::function<void()> &resultsStep)
{
    computeRawScores(sheet);
    convertToStens(sheet, respondent.sex, respondent.age);
    computeSecondOrder(sheet);
    resultsStep();
}

} // namespace zorven
