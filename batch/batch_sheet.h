#pragma once
// One row of a results table read back for scoring: columns 1 to 5 checked, the keying's
// record (columns 43 to 45) kept, the rest ignored, since the scores are computed again.

#include "questionnaire/keyed_options.h"
#include "questionnaire/respondent.h"
#include "results/table_records.h"

#include <QDateTime>
#include <QString>

#include <variant>

namespace zorven {

struct BatchSheet {
    QDateTime scoredAt;
    QString surname;
    Sex sex = Sex::None;
    int age = kMinimumAge;
    KeyedOptions options;
    // Copied through as read from the columns under their headers; empty where the input
    // has no such column (older tables, mark-reader exports).
    QString verification;
    QString entryMethod;
    QString minutes;
};

// Where an input's columns are, from its header: how many there are, and which of them (from
// 0; -1 for none) hold «Проверка», «Способ ввода» and «Время, мин». A column is taken only
// under its header, so that another program's column 43 is not mistaken for «Проверка».
struct BatchColumns {
    qsizetype count = 0;
    qsizetype verification = -1;
    qsizetype entryMethod = -1;
    qsizetype minutes = -1;
};
BatchColumns batchColumnsOf(const TableRecord &header);

// The sheet a record of a table with `columns` holds, or why it cannot be scored,
// in Russian. Answers may be given as a/b/c, 1/2/3 or Cyrillic letters in any case, as
// mark-reading software exports them: а, then б or с; «в» only where the row's other
// letters tell which of two readings it follows. A surname is taken as the window's
// name field takes it, without the mark the table puts before a formula-like text.
std::variant<BatchSheet, QString> batchSheetOf(const TableRecord &record, const BatchColumns &columns);

// Whether a record looks like a sheet rather than a header: a date in column 1, or 187
// answers in column 5.
bool looksLikeSheet(const TableRecord &record);

} // namespace zorven
