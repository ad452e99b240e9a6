#pragma once
// Where everything that is marked or read on the blank answer sheet stands, in
// millimetres from the top-left corner of the A4 sheet. This is the one place that says
// it: the sheet is drawn from it and the reader of scanned sheets (scan/) finds the corner
// marks and the boxes from it, so the printed sheet must never move a box without it.
//
// The cells are laid out as «Ответы бланка…» shows them: rows of ten, statement 1 at the
// top left, a wider gap after every fifth row and every fifth column. Each cell has its
// statement's number on top and the boxes a, b, c side by side below it, so that a cross
// that runs over a box's edge meets white paper, not the number or the next box.
//
// The checks at the end hold the gaps a reader needs; a change that breaks one does not
// compile.

#include <QRectF>
#include <QString>

namespace zorven::answer_sheet {

inline constexpr int kCellsPerRow = 10;
inline constexpr int kCellsPerGroup = 5;
inline constexpr int kStatements = 187;
inline constexpr int kRows = (kStatements + kCellsPerRow - 1) / kCellsPerRow;

// The sheet's layout: printed in its code, so that a reader never reads a sheet of
// another layout by this one's boxes. Version 1 was the sheet without a code.
inline constexpr int kLayoutVersion = 2;

//                                        mm
inline constexpr double kSheetWidth     = 210;
inline constexpr double kSheetHeight    = 297;
// What most printers cannot print at the paper's edges.
inline constexpr double kPrinterMargin  = 5;
// Four solid square marks, one in each corner, their outer edges this far from the
// sheet's edges: what a scan is straightened and scaled by.
inline constexpr double kMarkSize       = 6;
inline constexpr double kMarkInset      = 8;
// The corner marks alone look the same upside down. One more solid square near the bottom
// edge, off its middle, tells which way up the page lies; where it would stand on a page
// turned 180°, the sheet is blank.
inline constexpr double kTopCueSize     = 4;
inline constexpr double kTopCueLeft     = 40;
inline constexpr double kTopCueTop      = kSheetHeight - kMarkInset - kMarkSize + 1;
// The title, left of the sheet code.
inline constexpr QRectF kTitleRect{22, 8, 138, 8};
// The written «Фамилия И.О.» line and the band above it that a person is shown.
inline constexpr double kNameBaseline   = 25;
inline constexpr double kNameLineRight  = 165;
inline constexpr QRectF kNameField{12, 17, kNameLineRight - 12, 10};
// The respondent's sex is marked: two boxes, men's then women's, in one row.
inline constexpr double kSexBaseline    = 33;
inline constexpr double kSexBoxesLeft   = 23;
inline constexpr double kSexBoxesTop    = 29.2;
inline constexpr double kSexBoxPitch    = 27;
// «Дата:» after the sex, on its line.
inline constexpr double kDateLeft       = 110;
// The age is written, and marked beside it: a row of tens (1 to 6) above a row of units
// (0 to 9), each digit printed light in its box.
inline constexpr double kAgeBaseline    = 41;
inline constexpr double kAgeFieldRight  = 50;
inline constexpr double kAgeLabelLeft   = 53;
inline constexpr double kAgeBoxesLeft   = 72;
inline constexpr double kAgeTensTop     = 36.6;
inline constexpr double kAgeUnitsTop    = 42.6;
inline constexpr int kFirstTensDigit    = 1;
inline constexpr int kTensDigits        = 6;   // 1 … 6
inline constexpr int kUnitsDigits       = 10;  // 0 … 9
// The sheet code: a QR code holding the form, the layout and, on a sheet printed for a
// group, the respondent's row in the list; the row is printed under it too.
inline constexpr QRectF kSheetCodeRect{172, 18, 18, 18};
inline constexpr QRectF kSheetCodeCaption{166, 36.5, 30, 4};
// How to mark, above the grid.
inline constexpr QRectF kInstructionRect{12, 49, 186, 17};
// The grid of answer cells.
inline constexpr double kGridLeft       = 11.5;
inline constexpr double kGridTop        = 68;
inline constexpr double kCellPitch      = 18.8; // from a cell's left edge to the next one's
inline constexpr double kRowPitch       = 10;   // from a row's top to the next one's
inline constexpr double kGroupGap       = 3;    // added after every fifth row or column
// Within a cell: the statement's number in a band on top, then the boxes a, b, c.
inline constexpr double kNumberBand     = 2.8;  // the number's digits end at its bottom
inline constexpr double kBoxesTop       = 4;    // from the cell's top to the boxes' top
inline constexpr double kBoxSize        = 4.2;  // a box's side
inline constexpr double kBoxPitch       = 5.5;  // from a box's left edge to the next one's
inline constexpr double kBoxesWidth     = 2 * kBoxPitch + kBoxSize;

// Row and column of statement q's cell, both counted from 0.
constexpr int rowOf(int q)
{
    return (q - 1) / kCellsPerRow;
}

constexpr int columnOf(int q)
{
    return (q - 1) % kCellsPerRow;
}

// The cell of statement q, 1..187: its number and its three boxes.
constexpr QRectF cellRect(int q)
{
    const int row = rowOf(q);
    const int column = columnOf(q);
    return QRectF(kGridLeft + column * kCellPitch + column / kCellsPerGroup * kGroupGap,
                  kGridTop + row * kRowPitch + row / kCellsPerGroup * kGroupGap,
                  kBoxesWidth, kBoxesTop + kBoxSize);
}

// Where statement q's number is printed: left-aligned, its digits ending at the bottom.
constexpr QRectF numberRect(int q)
{
    const QRectF cell = cellRect(q);
    return QRectF(cell.left(), cell.top(), kBoxesWidth, kNumberBand);
}

// The box of `option` (1 for a, 2 for b, 3 for c) in statement q's cell.
constexpr QRectF boxRect(int q, int option)
{
    const QRectF cell = cellRect(q);
    return QRectF(cell.left() + (option - 1) * kBoxPitch, cell.top() + kBoxesTop, kBoxSize, kBoxSize);
}

// The box for the respondent's sex: 0 for «мужской», 1 for «женский».
constexpr QRectF sexBoxRect(int sex)
{
    return QRectF(kSexBoxesLeft + sex * kSexBoxPitch, kSexBoxesTop, kBoxSize, kBoxSize);
}

// The box of the tens digit `digit` (1..6) and of the units digit `digit` (0..9).
constexpr QRectF ageTensBoxRect(int digit)
{
    return QRectF(kAgeBoxesLeft + (digit - kFirstTensDigit) * kBoxPitch, kAgeTensTop, kBoxSize, kBoxSize);
}

constexpr QRectF ageUnitsBoxRect(int digit)
{
    return QRectF(kAgeBoxesLeft + digit * kBoxPitch, kAgeUnitsTop, kBoxSize, kBoxSize);
}

// The solid corner mark: 0 top left, 1 top right, 2 bottom left, 3 bottom right.
constexpr QRectF cornerMarkRect(int corner)
{
    const double left = corner % 2 == 0 ? kMarkInset : kSheetWidth - kMarkInset - kMarkSize;
    const double top = corner / 2 == 0 ? kMarkInset : kSheetHeight - kMarkInset - kMarkSize;
    return QRectF(left, top, kMarkSize, kMarkSize);
}

// The mark that tells the bottom from the top, and where it would stand on a page lying
// upside down.
constexpr QRectF topCueRect()
{
    return QRectF(kTopCueLeft, kTopCueTop, kTopCueSize, kTopCueSize);
}

constexpr QRectF turnedHalfway(const QRectF &mm)
{
    return QRectF(kSheetWidth - mm.right(), kSheetHeight - mm.bottom(), mm.width(), mm.height());
}

// The bottom of the last row.
constexpr double gridBottom()
{
    return cellRect(kRows * kCellsPerRow).bottom();
}

// What the sheet code says: the form, the layout and, when the sheet was printed for a
// row of a group's list, that row (from 1); 0 on a blank sheet.
struct SheetCode {
    int layout = kLayoutVersion;
    int groupRow = 0;
};

QString sheetCodeText(const SheetCode &code);
// Nothing when the text is not a sheet code of this questionnaire's form.
bool parseSheetCode(const QString &text, SheetCode &code);

// The compile-time checks of the printed sheet.
namespace checks {

inline constexpr double kMinBoxGap = 1.2;

constexpr bool apart(const QRectF &a, const QRectF &b, double gap)
{
    return a.right() + gap <= b.left() || b.right() + gap <= a.left()
           || a.bottom() + gap <= b.top() || b.bottom() + gap <= a.top();
}

constexpr bool onPrintablePaper(const QRectF &r)
{
    return r.left() >= kPrinterMargin && r.top() >= kPrinterMargin
           && r.right() <= kSheetWidth - kPrinterMargin && r.bottom() <= kSheetHeight - kPrinterMargin;
}

// Every cell on the page, clear of the corner marks, the cue and the header.
constexpr bool everyCellOnThePage()
{
    for (int q = 1; q <= kStatements; ++q) {
        const QRectF cell = cellRect(q);
        if (!onPrintablePaper(cell) || cell.top() < kInstructionRect.bottom())
            return false;
        for (int corner = 0; corner < 4; ++corner)
            if (!apart(cell, cornerMarkRect(corner), 2))
                return false;
        if (!apart(cell, topCueRect(), 2) || !apart(cell, turnedHalfway(topCueRect()), 2))
            return false;
    }
    return true;
}

constexpr bool ageBoxesApart()
{
    for (int digit = 0; digit < kUnitsDigits; ++digit) {
        if (!apart(ageUnitsBoxRect(digit), ageUnitsBoxRect(digit + 1), kMinBoxGap))
            return false;
        if (digit < kTensDigits && !apart(ageTensBoxRect(digit + kFirstTensDigit),
                                          ageUnitsBoxRect(digit + kFirstTensDigit), kMinBoxGap))
            return false;
    }
    return true;
}

} // namespace checks

static_assert(kBoxSize >= 4, "a box must take a pen mark");
static_assert(kBoxPitch - kBoxSize >= checks::kMinBoxGap, "a cross must not run into the next box");
static_assert(kBoxesTop - kNumberBand >= checks::kMinBoxGap, "a cross must not run into the number");
static_assert(kCellPitch - kBoxesWidth >= 3, "cells must stand clearly apart");
static_assert(kRowPitch - kBoxesTop - kBoxSize >= checks::kMinBoxGap, "rows must stand clearly apart");
static_assert(checks::everyCellOnThePage(), "all cells on one A4 page, clear of the marks");
static_assert(checks::ageBoxesApart(), "age boxes apart like the answer boxes");
static_assert(checks::apart(sexBoxRect(0), sexBoxRect(1), 10), "sex boxes far apart");
static_assert(checks::onPrintablePaper(cornerMarkRect(3)) && checks::onPrintablePaper(topCueRect()),
              "marks on printable paper");
static_assert(checks::apart(turnedHalfway(topCueRect()), kTitleRect, 1)
                  && checks::apart(turnedHalfway(topCueRect()), kSheetCodeRect, 1),
              "where the cue would stand on a page upside down stays blank");
static_assert(checks::apart(kSheetCodeRect, cornerMarkRect(1), 4) && checks::apart(kSheetCodeRect, kNameField, 4),
              "the sheet code keeps a quiet zone");
static_assert(checks::apart(ageUnitsBoxRect(kUnitsDigits - 1), kSheetCodeRect, 4)
                  && checks::apart(ageTensBoxRect(kFirstTensDigit), kNameField, 1)
                  && checks::apart(sexBoxRect(0), kNameField, 1),
              "header boxes clear of the fields and the code");

} // namespace zorven::answer_sheet
