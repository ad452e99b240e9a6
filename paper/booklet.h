#pragma once
// The question booklet handed to each respondent: a title page with the instructions,
// then the 187 statements with their options a, b, c, taken from the program's own
// tables, so that the booklet and the keying screen always say the same.

#include "paper/paper_document.h"

namespace zorven {

PaperDocument bookletDocument();

} // namespace zorven
