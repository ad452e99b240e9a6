#pragma once
// Reading a results table back: its records split into fields as the table writes them
// (';' between fields, RFC 4180 quotes), each with the line of the file it starts on.

#include <QList>
#include <QString>
#include <QStringList>

namespace zorven {

struct TableRecord {
    int line = 0;              // 1-based line of the file where the record starts
    QStringList fields;
    bool unclosedQuote = false; // the file ended inside a quoted field
};

// Splits `text` (decoded, without its byte-order mark) into records. Lines end in CR LF
// or LF; a quoted field may hold both. Empty lines are no records.
QList<TableRecord> tableRecords(QStringView text);

} // namespace zorven
