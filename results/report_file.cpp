#include "results/report_file.h"

#include "results/io_error.h"

#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace zorven {

namespace {

// A call can fail without telling why (a short count with errno cleared); that is still a
// failure, and a failed write to a device is what it most likely was.
constexpr int kUnexplainedFailure = EIO;

// errno is read right after the failing call: Qt's later calls leave other values in it.
int codeOfFailedCall()
{
    return ioErrorCode(errno != 0 ? errno : kUnexplainedFailure);
}

bool hasWritePermissionBit(const QFileInfo &file)
{
    return file.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther);
}

// The report is only ever a regular file in its own directory. QSaveFile would write
// through a symlink into another directory, or replace a device, FIFO or socket by a
// plain file; in a shared folder another user can plant any of them.
bool isForeignEntry(const QFileInfo &target)
{
    return target.isSymLink() || (target.exists() && !target.isFile());
}

// QSaveFile asks access(), which lets root replace a read-only file; the permission bits
// are what the user set.
int refusalOfExistingTarget(const QString &path)
{
    const QFileInfo target(path);
    if (isForeignEntry(target))
        return ioErrorCode(EACCES);
    if (!target.exists())
        return 0;
    if (!target.isWritable() || !hasWritePermissionBit(target))
        return ioErrorCode(EACCES);
    return 0;
}

// What stands at the path may change while the report is written; a link planted since
// the first look must not decide where the report lands either.
int refusalBeforeReplacing(const QString &path)
{
    return isForeignEntry(QFileInfo(path)) ? ioErrorCode(EACCES) : 0;
}

// QFileDevice may return a short count with errno cleared, and the rest of the data then
// fails with the real error; so writing goes on until every byte is taken or a call fails.
int writeAll(QSaveFile &file, const QByteArray &bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        errno = 0;
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0)
            return codeOfFailedCall();
        written += count;
    }
    return 0;
}

// QSaveFile::commit() ignores a failed sync; a disk that takes the data but cannot keep
// it is caught here.
int syncToDisk(QSaveFile &file)
{
    errno = 0;
    if (::fsync(file.handle()) != 0)
        return codeOfFailedCall();
    return 0;
}

int writeAndSync(QSaveFile &file, const QByteArray &bytes, ReportSync sync)
{
    if (const int failure = writeAll(file, bytes))
        return failure;
    return sync == ReportSync::EachReport ? syncToDisk(file) : 0;
}

} // namespace

void keepFileSizeLimitFromEndingTheProgram()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

int writeReport(const QString &path, const QByteArray &bytes)
{
    return writeReport(path, bytes, ReportSync::EachReport);
}

int writeReport(const QString &path, const QByteArray &bytes, ReportSync sync)
{
    return writeReport(
        path, bytes, [](const QString &target) { return std::make_unique<QSaveFile>(target); },
        sync);
}

int writeReport(const QString &path, const QByteArray &bytes, const SaveFileFactory &createFile,
                ReportSync sync)
{
    if (const int refusal = refusalOfExistingTarget(path))
        return refusal;
    const std::unique_ptr<QSaveFile> file = createFile(path);
    // Unbuffered, so that a full disk shows in the result of the write itself: with
    // QFileDevice's buffer, commit() writes the buffer out and can report an empty file
    // as committed.
    errno = 0;
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return codeOfFailedCall();
    int failure = writeAndSync(*file, bytes, sync);
    if (!failure)
        failure = refusalBeforeReplacing(path);
    if (failure) {
        file->cancelWriting();
        return failure;
    }
    errno = 0;
    if (!file->commit())
        return codeOfFailedCall();
    return 0;
}

} // namespace zorven
