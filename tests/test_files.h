#pragma once
// Reading back what the program wrote, for the tests to compare.

#include "results/results_table.h"
#include "results/table_records.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

// A file's bytes; a text no file holds when it cannot be read, so a comparison fails.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<cannot read " + path.toUtf8() + ">";
    return file.readAll();
}

// The results table's rows after the header, as fields.
inline QList<QStringList> tableRows(const QString &path = zorven::kResultsTableFileName)
{
    QByteArray bytes = fileBytes(path);
    if (bytes.startsWith(zorven::kUtf8ByteOrderMark))
        bytes.remove(0, zorven::kUtf8ByteOrderMark.size());
    QList<QStringList> rows;
    for (const zorven::TableRecord &record : zorven::tableRecords(QString::fromUtf8(bytes)))
        rows << record.fields;
    if (!rows.isEmpty())
        rows.removeFirst();
    return rows;
}
