#pragma once

#include "scoring/factors.h"

namespace zorven {

// Third step of the scoring run: F1..F4, each an integer numerator over the stens divided
// by ten in floating point.
void computeSecondOrder(Sheet &sheet);

} // namespace zorven
