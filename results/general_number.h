#pragma once
// The general number form of F1..F4 in the report and on screen, and of the statement
// number in the statement group's caption.

#include <QChar>
#include <QString>

namespace zorven {

// 15 significant digits, trailing zeros dropped, `decimalSeparator` only when a
// fractional digit remains, a leading minus for negative values; zero is "0" whatever
// its sign. Independent of the C library's locale, which follows the user's once a
// QCoreApplication exists.
QString generalNumber(double value, QChar decimalSeparator);

} // namespace zorven
