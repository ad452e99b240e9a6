#include "paper/answer_sheet_geometry.h"

#include "questionnaire/statements.h"

#include <QStringList>

namespace zorven::answer_sheet {

static_assert(kStatements == kStatementCount, "a cell for every statement");

namespace {

// "ZORVEN-A;2" on a blank sheet, "ZORVEN-A;2;17" on the sheet printed for row 17: the
// questionnaire's form, the layout and the row, short enough for the smallest QR code
// that holds them to keep large modules.
const QString kFormTag = QStringLiteral("ZORVEN-A");
const QChar kSeparator = u';';

} // namespace

QString sheetCodeText(const SheetCode &code)
{
    QString text = kFormTag + kSeparator + QString::number(code.layout);
    if (code.groupRow > 0)
        text += kSeparator + QString::number(code.groupRow);
    return text;
}

bool parseSheetCode(const QString &text, SheetCode &code)
{
    const QStringList parts = text.split(kSeparator);
    if (parts.size() < 2 || parts.size() > 3 || parts[0] != kFormTag)
        return false;
    bool layoutIsNumber = false;
    bool rowIsNumber = true;
    SheetCode read;
    read.layout = parts[1].toInt(&layoutIsNumber);
    read.groupRow = parts.size() == 3 ? parts[2].toInt(&rowIsNumber) : 0;
    if (!layoutIsNumber || !rowIsNumber || read.layout < 1 || read.groupRow < 0)
        return false;
    code = read;
    return true;
}

} // namespace zorven::answer_sheet
