#include "results/io_error.h"

#include <cerrno>

namespace zorven {

int ioErrorCode(int platformError)
{
    switch (platformError) {
    case ENOENT:
        return kFileNotFound;
    case EINVAL:
    case ENAMETOOLONG:
    case ENOTDIR:
        return kInvalidFilename;
    case EMFILE:
    case ENFILE:
        return kTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return kFileAccessDenied;
    default:
        return platformError;
    }
}

QString ioErrorText(int code)
{
    switch (code) {
    case kFileNotFound:
        return QStringLiteral("File not found");
    case kInvalidFilename:
        return QStringLiteral("Invalid filename");
    case kTooManyOpenFiles:
        return QStringLiteral("Too many open files");
    case kFileAccessDenied:
        return QStringLiteral("File access denied");
    default:
        return QStringLiteral("I/O error %1").arg(code);
    }
}

QString withClosingFullStop(const QString &message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

} // namespace zorven
