#pragma once
// What a surname may hold. It goes into the report's "Фамилия И.О." line and names the
// report file, both in code page 1251, so only what one line of that code page can
// hold. The window's name field and the batch scoring take a surname by these rules
// alike, so that both write the same report for the same name.

#include <QString>

namespace zorven {

// A UTF-16 unit the surname line can hold: code page 1251 without control characters,
// which would break the report's line or its file name. A character outside the Basic
// Multilingual Plane comes as two surrogates, neither of which the code page holds, so
// looking at single units is enough.
bool isSurnameUnit(QChar unit);

// A name pasted from a table or a letter, or exported by a scanner, may carry tabs and
// line breaks between its words; each becomes one blank (CR LF one break), so that the
// words do not run together.
QString withBreaksBlanked(QString text);

// The position of the first unit a surname cannot hold; -1 when it holds none.
qsizetype firstRefusedUnit(const QString &text);

} // namespace zorven
