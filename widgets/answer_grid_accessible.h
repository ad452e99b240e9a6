#pragma once
// What a screen reader learns of the answers grid: a list of 187 cells, each named by its
// statement number and the answer it holds, the chosen one having the focus.

#include <QString>

class AnswerGrid;

namespace answer_grid_accessible {

// The name a cell is read out by, e.g. "Утверждение 12: ответ b".
QString cellName(const AnswerGrid &grid, int q);

// Lets the accessibility framework describe every AnswerGrid by the interfaces below.
void install();

// Tells a listening screen reader that statement q's cell took the focus or changed.
void notifyFocus(AnswerGrid *grid, int q);
void notifyChanged(AnswerGrid *grid, int q);

} // namespace answer_grid_accessible
