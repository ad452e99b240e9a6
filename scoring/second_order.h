#pragma once

#include "scoring/factors.h"

namespace zorven {

// Third step of the scoring run: F1..F4, each an integer numerator over the stens divided
// by ten in floating point.
void computeSecondOrder(Sheet &sheet);

// The weight of `factor`'s sten in the formula of F(f+1), f from 0 to 3: a positive
// weight raises it with the sten, a negative one lowers it, 0 leaves it alone.
int secondOrderWeight(int f, int factor);

} // namespace zorven
