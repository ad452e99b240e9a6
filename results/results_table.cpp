#include "results/results_table.h"

#include "results/general_number.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorven {

namespace {

const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd'T'HH:mm:ss");

// Long enough for a copy of the program that syncs on a busy disk (hundreds of
// milliseconds have been seen), short enough that the operator is not left waiting.
constexpr int kLockWaitMilliseconds = 10'000;

// A write that fails without telling why is still a failure of the disk.
constexpr int kUnexplainedFailure = EIO;

constexpr QIODevice::OpenMode kAppendMode =
    QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered;

QByteArray quotedField(const QString &text)
{
    QByteArray field = text.toUtf8();
    if (!field.contains(';') && !field.contains('"') && !field.contains('\r')
        && !field.contains('\n'))
        return field;
    field.replace('"', "\"\"");
    return '"' + field + '"';
}

QByteArray joinedRow(const QList<QByteArray> &fields)
{
    Q_ASSERT(fields.size() == kResultsTableColumns);
    return fields.join(';') + "\r\n";
}

QByteArray letters(const KeyedOptions &options)
{
    QByteArray text(kStatementCount, ' ');
    for (int q = 1; q <= kStatementCount; ++q)
        text[q - 1] = optionLetter(options.at(q));
    return text;
}

template<typename Scores>
void addScores(QList<QByteArray> &fields, const Scores &scores)
{
    for (const std::uint8_t score : scores)
        fields << QByteArray::number(score);
}

TableFailure failureOf(TableFailure::Kind kind, int error = 0)
{
    return {kind, error};
}

int lastError()
{
    return errno != 0 ? errno : kUnexplainedFailure;
}

bool startsWithOurHeader(QFileDevice &table)
{
    const QByteArray header = kUtf8ByteOrderMark + resultsTableHeader();
    return table.seek(0) && table.read(header.size()) == header;
}

// The table never keeps half a row: what a failed append left is cut back off.
void cutBack(QFileDevice &table, qint64 size)
{
    table.resize(size);
}

TableFailure writeAndSync(QFileDevice &table, const QByteArray &bytes, qint64 sizeBefore)
{
    errno = 0;
    if (table.write(bytes) != bytes.size()) {
        const int error = lastError();
        cutBack(table, sizeBefore);
        return failureOf(TableFailure::Kind::Io, error);
    }
    errno = 0;
    if (::fsync(table.handle()) != 0) {
        const int error = lastError();
        cutBack(table, sizeBefore);
        return failureOf(TableFailure::Kind::Io, error);
    }
    return {};
}

TableFailure lockFailure(QLockFile::LockError error)
{
    return failureOf(error == QLockFile::LockFailedError ? TableFailure::Kind::Busy
                                                         : TableFailure::Kind::LockRefused);
}

// Not followed through a link, and only a regular file: a link could point the appends
// at any file the user can write.
int openTableFile(const QString &path)
{
    return ::open(QFile::encodeName(path).constData(),
                  O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
}

bool isRegularFile(int fd)
{
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

QString reasonText(const TableFailure &failure)
{
    switch (failure.kind) {
    case TableFailure::Kind::Foreign:
        return QStringLiteral("файл с таким именем не является таблицей результатов "
                              "(его первая строка другая), он оставлен без изменений");
    case TableFailure::Kind::NotAFile:
        return QStringLiteral("под этим именем находится не обычный файл, а ссылка, "
                              "папка или устройство");
    case TableFailure::Kind::Busy:
        return QStringLiteral("таблицу слишком долго занимает другая копия программы");
    case TableFailure::Kind::LockRefused:
        return QStringLiteral("в папке не удалось создать файл блокировки (нет прав на запись "
                              "или места на диске)");
    case TableFailure::Kind::Io:
        return plainErrorText(failure.error);
    case TableFailure::Kind::None:
        break;
    }
    return {};
}

} // namespace

QString plainErrorText(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("на диске нет места");
    case EACCES:
    case EPERM:
        return QStringLiteral("нет прав на запись");
    case EROFS:
        return QStringLiteral("диск открыт только для чтения");
    case ENOENT:
        return QStringLiteral("папка не найдена");
    case EFBIG:
        return QStringLiteral("файл достиг предельного размера");
    case EIO:
        return QStringLiteral("диск не смог записать данные");
    default:
        return QStringLiteral("системная ошибка %1").arg(error);
    }
}

QString tableDateTime(const QDateTime &dateTime)
{
    return QLocale::c().toString(dateTime, kDateTimeFormat);
}

QDateTime parseTableDateTime(const QString &text)
{
    constexpr qsizetype kDateLength = 10; // yyyy-MM-dd
    constexpr qsizetype kLength = 19;     // yyyy-MM-ddTHH:mm:ss
    if (text.size() != kLength || text[kDateLength] != u'T')
        return {};
    const QDate date = QDate::fromString(text.left(kDateLength), QStringLiteral("yyyy-MM-dd"));
    const QTime time = QTime::fromString(text.mid(kDateLength + 1), QStringLiteral("HH:mm:ss"));
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

char optionLetter(int option)
{
    Q_ASSERT(option >= kNoOption && option <= 3);
    return "-abc"[option];
}

QByteArray resultsTableHeader()
{
    QList<QByteArray> fields = {"Дата", "Фамилия", "Пол", "Возраст", "Ответы"};
    for (const std::string_view factor : kFactorNames)
        fields << "Балл " + QByteArray(factor.data(), factor.size());
    for (const std::string_view factor : kFactorNames)
        fields << "Стен " + QByteArray(factor.data(), factor.size());
    fields << "F1" << "F2" << "F3" << "F4" << "Отчёт";
    return joinedRow(fields);
}

QByteArray resultsTableRow(const ResultsRow &row, QChar decimalSeparator)
{
    QList<QByteArray> fields = {
        tableDateTime(row.scoredAt).toLatin1(),
        quotedField(row.surname),
        quotedField(row.sexText),
        QByteArray::number(row.age),
        letters(row.options),
    };
    addScores(fields, row.raw);
    addScores(fields, row.stens);
    for (const double value : row.secondOrder)
        fields << quotedField(generalNumber(value, decimalSeparator));
    fields << quotedField(row.reportFileName);
    return joinedRow(fields);
}

TableFailure appendToOpenTable(QFileDevice &table, const QByteArray &rows)
{
    const qint64 sizeBefore = table.size();
    QByteArray bytes;
    if (sizeBefore == 0)
        bytes = kUtf8ByteOrderMark + resultsTableHeader();
    else if (!startsWithOurHeader(table))
        return failureOf(TableFailure::Kind::Foreign);
    bytes += rows;
    if (bytes.isEmpty())
        return {};
    return writeAndSync(table, bytes, sizeBefore);
}

TableFailure appendToResultsTable(const QString &path, const QByteArray &rows)
{
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMilliseconds))
        return lockFailure(lock.error());

    errno = 0;
    const int fd = openTableFile(path);
    if (fd < 0) {
        const int error = lastError();
        return error == ELOOP || error == EISDIR ? failureOf(TableFailure::Kind::NotAFile)
                                                 : failureOf(TableFailure::Kind::Io, error);
    }
    if (!isRegularFile(fd)) {
        ::close(fd);
        return failureOf(TableFailure::Kind::NotAFile);
    }
    QFile table;
    if (!table.open(fd, kAppendMode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failureOf(TableFailure::Kind::Io, kUnexplainedFailure);
    }
    return appendToOpenTable(table, rows);
}

QString tableFailureText(const TableFailure &failure, const QString &path)
{
    return QStringLiteral("Строка результатов не добавлена в таблицу «%1»: %2.")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), reasonText(failure));
}

} // namespace zorven
