#pragma once
// Where everything that is marked or read on the blank answer sheet stands, in
// millimetres from the top-left corner of the A4 sheet. This is the one place that says
// it: the sheet is drawn from it, and a reader of scanned sheets is to find the corner
// marks and the boxes from it, so the printed sheet must never move a box without it.
//
// The cells are laid out as «Ответы бланка…» shows them: rows of ten, statement 1 at the
// top left, a wider gap after every fifth row and every fifth column.

#include <QRectF>

namespace zorven::answer_sheet {

inline constexpr int kCellsPerRow = 10;
inline constexpr int kCellsPerGroup = 5;

//                                        mm
inline constexpr double kSheetWidth     = 210;
inline constexpr double kSheetHeight    = 297;
// Four solid square marks, one in each corner, their outer edges this far from the
// sheet's edges: what a scan is straightened and scaled by.
inline constexpr double kMarkSize       = 6;
inline constexpr double kMarkInset      = 8;
// The respondent's sex is marked too: two boxes, men's then women's, in one row.
inline constexpr double kSexBoxesLeft   = 23;
inline constexpr double kSexBoxesTop    = 34.4;
inline constexpr double kSexBoxPitch    = 27;
// The grid of answer cells.
inline constexpr double kGridLeft       = 9.5;
inline constexpr double kGridTop        = 68;
inline constexpr double kCellPitch      = 18.8; // from a cell's left edge to the next one's
inline constexpr double kRowPitch       = 10;   // from a row's top to the next one's
inline constexpr double kGroupGap       = 3;    // added after every fifth row or column
// Within a cell: the statement number, then the boxes a, b, c side by side.
inline constexpr double kNumberWidth    = 4.8;
inline constexpr double kBoxSize        = 4.2;  // a box's side
inline constexpr double kBoxPitch       = 4.5;  // from a box's left edge to the next one's

static_assert(kBoxSize >= 4, "a box must take a pen mark");
static_assert(kNumberWidth + 2 * kBoxPitch + kBoxSize < kCellPitch, "cells must not touch");
static_assert(kBoxSize < kRowPitch, "rows must not touch");

// Row and column of statement q's cell, both counted from 0.
int rowOf(int q);
int columnOf(int q);

// The cell of statement q, 1..187: its number and its three boxes.
QRectF cellRect(int q);
// The box of `option` (1 for a, 2 for b, 3 for c) in statement q's cell.
QRectF boxRect(int q, int option);

// The box for the respondent's sex: 0 for «мужской», 1 for «женский».
QRectF sexBoxRect(int sex);

// The solid corner mark: 0 top left, 1 top right, 2 bottom left, 3 bottom right.
QRectF cornerMarkRect(int corner);

// The bottom of the last row.
double gridBottom();

} // namespace zorven::answer_sheet
