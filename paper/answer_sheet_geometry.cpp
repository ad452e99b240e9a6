#include "paper/answer_sheet_geometry.h"

#include "questionnaire/statements.h"

namespace zorven::answer_sheet {

namespace {

constexpr int kRows = (kStatementCount + kCellsPerRow - 1) / kCellsPerRow;

} // namespace

int rowOf(int q)
{
    return (q - 1) / kCellsPerRow;
}

int columnOf(int q)
{
    return (q - 1) % kCellsPerRow;
}

QRectF cellRect(int q)
{
    const int row = rowOf(q);
    const int column = columnOf(q);
    return QRectF(kGridLeft + column * kCellPitch + column / kCellsPerGroup * kGroupGap,
                  kGridTop + row * kRowPitch + row / kCellsPerGroup * kGroupGap,
                  kCellPitch, kRowPitch);
}

QRectF boxRect(int q, int option)
{
    const QRectF cell = cellRect(q);
    return QRectF(cell.left() + kNumberWidth + (option - 1) * kBoxPitch,
                  cell.top() + (kRowPitch - kBoxSize) / 2, kBoxSize, kBoxSize);
}

QRectF sexBoxRect(int sex)
{
    return QRectF(kSexBoxesLeft + sex * kSexBoxPitch, kSexBoxesTop, kBoxSize, kBoxSize);
}

QRectF cornerMarkRect(int corner)
{
    const double left = corner % 2 == 0 ? kMarkInset : kSheetWidth - kMarkInset - kMarkSize;
    const double top = corner / 2 == 0 ? kMarkInset : kSheetHeight - kMarkInset - kMarkSize;
    return QRectF(left, top, kMarkSize, kMarkSize);
}

double gridBottom()
{
    return cellRect(kRows * kCellsPerRow).bottom();
}

} // namespace zorven::answer_sheet
