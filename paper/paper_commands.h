#pragma once
// The paper a group testing needs, written as PDF files from the command line without a
// window: `zorventest --booklet FILE.pdf` and `zorventest --answer-sheet FILE.pdf`.
// They need a QGuiApplication (fonts), which may run on the offscreen platform.

#include <QString>

namespace zorven {

// Each writes its PDF to `path` whole or not at all, never through a link; on failure it
// says why in Russian on the error output. Returns the program's exit status: 0 written,
// 2 not written.
int writeBookletCommand(const QString &path);
int writeAnswerSheetCommand(const QString &path);
// One sheet per row of the group's list at `listPath`; a list with a fault writes nothing.
int writeGroupAnswerSheetsCommand(const QString &listPath, const QString &path);

} // namespace zorven
