#pragma once
// The blank answer sheet: one A4 page with the respondent's fields at the top and the 187
// answer cells below, every box where answer_sheet_geometry.h puts it.

#include "paper/paper_document.h"

namespace zorven {

PaperDocument answerSheetDocument();

} // namespace zorven
