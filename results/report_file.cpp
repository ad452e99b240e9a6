#include "results/report_file.h"

#include "results/io_error.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorven {

namespace {

// A call can fail without telling why (a short count with errno cleared); that is still a
// failure, and a failed write to a device is what it most likely was.
constexpr int kUnexplainedFailure = EIO;

static_assert(kReportNameTaken == EEXIST);

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

int writeAndSync(QSaveFile &file, const QByteArray &bytes)
{
    if (const int failure = writeAll(file, bytes))
        return failure;
    return syncToDisk(file);
}

// QSaveFile::commit() syncs the file whatever it is asked, one journal commit per report.
// Left to the caller, the report is written to a file of its own beside the target, which
// is renamed over the target when whole: the same all-or-nothing replacement, unsynced.
// The file's name is short, so that a target name at the file system's limit still fits.
int createFileBeside(const QString &path, QByteArray &temporaryName)
{
    static int counter = 0;
    const QString folder = QFileInfo(path).path();
    for (;;) {
        temporaryName = QFile::encodeName(QDir(folder).filePath(
            QStringLiteral(".zorven-report-%1-%2").arg(::getpid()).arg(++counter)));
        errno = 0;
        const int fd = ::open(temporaryName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
}

int writeAllTo(int fd, const QByteArray &bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        errno = 0;
        const ssize_t count = ::write(fd, bytes.constData() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return codeOfFailedCall();
        written += count;
    }
    return 0;
}

// An earlier report keeps its permission bits, as QSaveFile keeps them.
void keepPermissionsOf(const QString &path, int fd)
{
    struct stat target {};
    if (::stat(QFile::encodeName(path).constData(), &target) == 0)
        ::fchmod(fd, target.st_mode & 07777);
}

int replaceUnsynced(const QString &path, const QByteArray &bytes)
{
    if (const int refusal = refusalOfExistingTarget(path))
        return refusal;
    QByteArray temporaryName;
    const int fd = createFileBeside(path, temporaryName);
    if (fd < 0)
        return codeOfFailedCall();
    keepPermissionsOf(path, fd);
    int failure = writeAllTo(fd, bytes);
    errno = 0;
    if (::close(fd) != 0 && !failure)
        failure = codeOfFailedCall();
    if (!failure)
        failure = refusalBeforeReplacing(path);
    errno = 0;
    if (!failure && ::rename(temporaryName.constData(), QFile::encodeName(path).constData()) != 0)
        failure = codeOfFailedCall();
    if (failure)
        ::unlink(temporaryName.constData());
    return failure;
}

// Creates a report in place, which never follows a link nor takes a name that exists; a
// file left part-written is removed.
int createInPlace(const QByteArray &name, const QByteArray &bytes, ReportSync sync)
{
    errno = 0;
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno == EEXIST ? kReportNameTaken : codeOfFailedCall();
    int failure = writeAllTo(fd, bytes);
    errno = 0;
    if (!failure && sync == ReportSync::EachReport && ::fsync(fd) != 0)
        failure = codeOfFailedCall();
    errno = 0;
    if (::close(fd) != 0 && !failure)
        failure = codeOfFailedCall();
    if (failure)
        ::unlink(name.constData());
    return failure;
}

// A batch mostly writes names that do not exist yet: those are created in place. A name
// that exists is replaced as above, when that is planned.
int writeUnsynced(const QString &path, const QByteArray &bytes, ExistingReport existing)
{
    const int failure = createInPlace(QFile::encodeName(path), bytes, ReportSync::LeftToCaller);
    if (failure == kReportNameTaken && existing == ExistingReport::Replace)
        return replaceUnsynced(path, bytes);
    return failure;
}

// A file system without hard links (FAT on a memory stick, some network shares) refuses
// link() with one of these.
bool hardLinksRefused(int error)
{
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS;
}

// Written and synced beside the target, then linked to its name, which fails on any entry
// standing there: the report appears whole or not at all, and never in another's place.
// Where hard links are refused, it is created in place instead, which takes no name that
// exists either; only a crash part-way could then leave it short.
int writeNewSynced(const QString &path, const QByteArray &bytes)
{
    QByteArray temporaryName;
    const int fd = createFileBeside(path, temporaryName);
    if (fd < 0)
        return codeOfFailedCall();
    int failure = writeAllTo(fd, bytes);
    errno = 0;
    if (!failure && ::fsync(fd) != 0)
        failure = codeOfFailedCall();
    errno = 0;
    if (::close(fd) != 0 && !failure)
        failure = codeOfFailedCall();
    errno = 0;
    bool linkRefused = false;
    if (!failure && ::link(temporaryName.constData(), QFile::encodeName(path).constData()) != 0) {
        linkRefused = hardLinksRefused(errno);
        failure = errno == EEXIST ? kReportNameTaken : codeOfFailedCall();
    }
    ::unlink(temporaryName.constData());
    return linkRefused ? createInPlace(QFile::encodeName(path), bytes, ReportSync::EachReport) : failure;
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
    return writeReport(path, bytes, [](const QString &target) {
        return std::make_unique<QSaveFile>(target);
    });
}

int writeReport(const QString &path, const QByteArray &bytes, const SaveFileFactory &createFile)
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
    int failure = writeAndSync(*file, bytes);
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

int writeReport(const QString &path, const QByteArray &bytes, ReportSync sync)
{
    return writeReport(path, bytes, sync, ExistingReport::Replace);
}

int writeReport(const QString &path, const QByteArray &bytes, ReportSync sync, ExistingReport existing)
{
    if (sync == ReportSync::LeftToCaller)
        return writeUnsynced(path, bytes, existing);
    return existing == ExistingReport::Replace ? writeReport(path, bytes) : writeNewSynced(path, bytes);
}

} // namespace zorven
