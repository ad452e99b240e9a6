#pragma once
// The input/output error codes and texts of the application's standard error report.

#include <QString>

namespace zorven {

inline constexpr int kFileNotFound = 2;
inline constexpr int kInvalidFilename = 3;
inline constexpr int kTooManyOpenFiles = 4;
inline constexpr int kFileAccessDenied = 5;

// The code for a platform error (errno): one of the four above where the meaning is the
// same, otherwise the platform's own code. Linux's own EIO is 5, so a device error is
// shown as "File access denied": the two cannot be told apart by the code alone.
int ioErrorCode(int platformError);

// "File not found", "Invalid filename", "Too many open files", "File access denied",
// otherwise "I/O error N".
QString ioErrorText(int code);

// The error report's closing full stop: added when the last character sorts after '.'.
QString withClosingFullStop(const QString &message);

} // namespace zorven
