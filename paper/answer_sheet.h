#pragma once
// The blank answer sheet: one A4 page with the respondent's fields at the top and the 187
// answer cells below, every box where answer_sheet_geometry.h puts it.

#include "paper/group_list.h"
#include "paper/paper_document.h"

namespace zorven {

PaperDocument answerSheetDocument();

// One sheet per row of a group's list, each with the respondent's surname, sex and age
// printed in its fields and the row in its code.
PaperDocument groupAnswerSheetsDocument(const QList<GroupSheetRow> &rows);

} // namespace zorven
