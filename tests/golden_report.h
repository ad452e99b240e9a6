#pragma once
// The report of one known sheet, written out byte for byte in code page 1251 rather than
// made by the code under test, and the sheet it reports. Every other report a test
// expects is this one with some of its values changed.

#include "results/report.h"

#include <QByteArray>
#include <QList>
#include <QStringEncoder>

#include <utility>

namespace golden {

// Stens 10, 1 and 0 (N, which no scoring run leaves, is still written as it is).
inline zorven::ReportData sheet()
{
    return {QStringLiteral("Сидорова А.Б."),
            42,
            QStringLiteral("Женский"),
            QDate(2024, 3, 5),
            {7, 3, 10, 1, 5, 6, 8, 2, 9, 4, 0, 6, 5, 7, 3, 10},
            {6.8, 5, -1.7, 0}};
}

// The report of sheet() as a Russian locale writes it: a decimal comma, dd.MM.yyyy.
inline const QByteArray kReport =
    "\xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2\xFB \xF2\xE5\xF1\xF2\xE0 \xC7\xEE\xF0\xE2\xE5\xED\xED\xE0 - \xD4\xEE\xF0\xEC\xE0 \xC0\r\n"
    "\r\n"
    "\xD4\xE0\xEC\xE8\xEB\xE8\xFF: \xD1\xE8\xE4\xEE\xF0\xEE\xE2\xE0 \xC0.\xC1.\r\n"
    "\xC2\xEE\xE7\xF0\xE0\xF1\xF2 (\xEB\xE5\xF2): 42\r\n"
    "\xCF\xEE\xEB: \xC6\xE5\xED\xF1\xEA\xE8\xE9\r\n"
    "\xC4\xE0\xF2\xE0 \xEF\xF0\xEE\xE2\xE5\xE4\xE5\xED\xE8\xFF: 05.03.2024\r\n"
    "\r\n"
    "\xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2\xFB \xEF\xEE \xF8\xEA\xE0\xEB\xE0\xEC (\xD1\xF2\xE5\xED\xFB)\r\n"
    "\xC0 \t7\r\n"
    "\xC2 \t3\r\n"
    "\xD1 \t10\r\n"
    "\xC5 \t1\r\n"
    "F \t5\r\n"
    "G \t6\r\n"
    "\xCD \t8\r\n"
    "I \t2\r\n"
    "L \t9\r\n"
    "\xCC \t4\r\n"
    "N \t0\r\n"
    "\xCE \t6\r\n"
    "Q1\t5\r\n"
    "Q2\t7\r\n"
    "Q3\t3\r\n"
    "Q4\t10\r\n"
    "\r\n"
    "\xC4\xEE\xEF\xEE\xEB\xED\xE8\xF2\xE5\xEB\xFC\xED\xFB\xE5 \xF4\xE0\xEA\xF2\xEE\xF0\xFB \xE2\xF2\xEE\xF0\xEE\xE3\xEE \xEF\xEE\xF0\xFF\xE4\xEA\xE0\r\n"
    "F1\t6,8\r\n"
    "F2\t5\r\n"
    "F3\t-1,7\r\n"
    "F4\t0\r\n";

// Where the values stand: line numbers from 1.
inline constexpr int kSurnameLine = 3;
inline constexpr int kAgeLine = 4;
inline constexpr int kSexLine = 5;
inline constexpr int kDateLine = 6;
inline constexpr int kFirstStenLine = 9;
inline constexpr int kFirstSecondOrderLine = 27;

using LineValue = std::pair<int, QByteArray>;

// The report with the value of each line named replaced: all that follows the line's
// caption (up to ": ") or label (up to the tab).
inline QByteArray withValues(const QByteArray &report, const QList<LineValue> &values)
{
    QList<QByteArray> lines = report.split('\n');
    for (const auto &[line, value] : values) {
        QByteArray &text = lines[line - 1];
        const qsizetype tab = text.indexOf('\t');
        const qsizetype start = tab >= 0 ? tab + 1 : text.indexOf(": ") + 2;
        text = text.left(start) + value + '\r';
    }
    return lines.join('\n');
}

// Text the report holds, in code page 1251, encoded apart from the code under test.
inline QByteArray cp1251(const QString &text)
{
    QStringEncoder encoder("windows-1251");
    const QByteArray bytes = encoder.encode(text);
    if (!encoder.isValid() || encoder.hasError())
        qFatal("not a code page 1251 text");
    return bytes;
}

} // namespace golden
