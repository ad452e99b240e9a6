#pragma once
// The table of scanned pages, DIR/scans.csv: one row per page read, in the results
// table's format (UTF-8 with a byte-order mark, ';' between fields, quotes as RFC 4180,
// CR LF). Other tools, the tests and the person's review read it.
//
//   Файл;Страница;Пол;Возраст;Ответы;Сомнительных;Состояние
//
// When the sheets were printed for a group's list, two columns follow: «Строка списка»
// and «Фамилия».

#include "scan/scanned_page.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace zorven::scan {

inline const QString kScansTableFileName = QStringLiteral("scans.csv");
inline const QString kPageRead = QStringLiteral("прочитан");

// The header line, with or without the group's columns.
QByteArray scansTableHeader(bool withGroup);

// The page's row, CR LF ended.
QByteArray scansTableRow(const ScannedPage &page, bool withGroup);

// The 187 readings of a read page, one character each: a, b, c, '-' or '?'.
QString answersOf(const ScannedPage &page);
int doubtfulCount(const ScannedPage &page);
// What «Пол» and «Возраст» hold: the list's when the list named the sheet, else the marks'.
QString sexTextOf(const ScannedPage &page);
QString ageTextOf(const ScannedPage &page);
// Whether a person must look at the page: not read, a '?' or '-' anywhere, sex or age
// not read, or a problem with the list.
bool needsPerson(const ScannedPage &page);

// The pages a table written before holds: file, page, failure, readings, the list's row and
// surname. Boxes, darkness and images are not in the table: the file named in «Файл» is to be
// read again for them. Gives an empty list and `fault` when the text is not such a table.
QList<ScannedPage> scannedPagesOf(const QByteArray &table, QString &fault);

} // namespace zorven::scan
