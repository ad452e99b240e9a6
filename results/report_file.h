#pragma once
// Writing the report file so that a failure never costs the user a report.

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <functional>
#include <memory>

namespace zorven {

// Writes `bytes` to `path`, replacing a file of that name. Returns 0 on success, else the
// code of ioErrorCode() for the platform error where the writing failed.
// The file appears only when every byte reached the disk: on any failure an earlier file
// of that name is left as it was and no partial or temporary file remains. An existing
// file whose write permission is off is refused with "File access denied" even where the
// process could replace it (root): the user protected it. A symlink, directory, device,
// FIFO or socket at `path` is refused the same way and never written through.
int writeReport(const QString &path, const QByteArray &bytes);

// The same, with the file made by `createFile`, so that a test can stand a failing file
// in for a broken disk.
using SaveFileFactory = std::function<std::unique_ptr<QSaveFile>(const QString &path)>;
int writeReport(const QString &path, const QByteArray &bytes, const SaveFileFactory &createFile);

// Whether the writer syncs each report itself, or leaves it to a caller that writes many
// and syncs them together (the batch scoring). A report not yet synced may be lost with
// the power; everything else above holds.
enum class ReportSync { EachReport, LeftToCaller };
int writeReport(const QString &path, const QByteArray &bytes, ReportSync sync);

// Whether a file found at the path is replaced. In a shared folder another writer may make
// a report of the planned name between the moment a name is chosen and the writing: only a
// replacement the writer planned (the sheet's own earlier report, one the operator chose to
// replace) may take its place; a new report is made exclusively.
enum class ExistingReport { Replace, Keep };
// Returned, with nothing written, when `existing` is Keep and the name is taken by then.
inline constexpr int kReportNameTaken = 17; // EEXIST, as ioErrorCode() passes it on
int writeReport(const QString &path, const QByteArray &bytes, ReportSync sync, ExistingReport existing);

// Under a file-size limit the system ends a process that writes past it, and the sheet
// on screen would be lost with it. Called once at start, this turns such a write into a
// failed write (EFBIG, "I/O error 27") that is reported like any other.
void keepFileSizeLimitFromEndingTheProgram();

} // namespace zorven
