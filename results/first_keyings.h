#pragma once
// Finding a sheet's first keying in the results table for its verification: the rows of a
// surname that no later row marks as verified.

#include "questionnaire/keyed_options.h"
#include "questionnaire/respondent.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>

namespace zorven {

// A row of the table as keyed: when, who, and the letters.
struct TableSheet {
    QDateTime scoredAt;
    QString surname;
    Sex sex = Sex::None;
    int age = kMinimumAge;
    KeyedOptions options;
    QString reportFileName; // column 42
    int line = 0;           // where the row starts in the table, from 1
};

// Surnames compared as an operator reads them: case and runs of blanks do not count.
bool sameSurname(const QString &one, const QString &other);

// The sheets of `surname` in the table text (its header included, byte-order mark not)
// that are not verified yet, newest first. A row with column 43 filled verifies the
// latest earlier row with the same report file (column 42), or, where it names no report,
// the latest earlier row of its surname. A later row naming the same report without
// column 43 («Пересчитать») stands in for the earlier one. Rows that cannot be read as a
// keyed sheet are passed over. Tables of 42 columns are read as having column 43 empty.
QList<TableSheet> unverifiedSheets(QStringView tableText, const QString &surname);

// The same from the table file, read a piece at a time: the time taken grows with the
// table's length, the memory only with the rows of `surname`. `onPiece` is called after
// each piece, for a busy cursor. None when there is no table or it cannot be read.
QList<TableSheet> unverifiedSheetsInFile(const QString &tablePath, const QString &surname,
                                         const std::function<void()> &onPiece = {});

} // namespace zorven
