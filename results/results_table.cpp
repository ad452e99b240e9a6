#include "results/results_table.h"

#include "results/general_number.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace zorven {

namespace {

// Long enough for a copy of the program that syncs on a busy disk (hundreds of
// milliseconds have been seen), short enough that the operator is not left waiting.
constexpr int kLockWaitMilliseconds = 10'000;

// A write that fails without telling why is still a failure of the disk.
constexpr int kUnexplainedFailure = EIO;

constexpr QIODevice::OpenMode kAppendMode =
    QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered;

// A comma is quoted too: LibreOffice Calc opens a .csv with the comma ticked as a
// separator beside ';', and would split "5,4" into two cells.
QByteArray quotedField(const QString &text)
{
    QByteArray field = text.toUtf8();
    if (!field.contains(';') && !field.contains('"') && !field.contains('\r')
        && !field.contains('\n') && !field.contains(','))
        return field;
    field.replace('"', "\"\"");
    return '"' + field + '"';
}

// The header's first 42 columns, the older table's whole header.
QList<QByteArray> headerFields()
{
    QList<QByteArray> fields = {"Дата", "Фамилия", "Пол", "Возраст", "Ответы"};
    for (const std::string_view factor : kFactorNames)
        fields << "Балл " + QByteArray(factor.data(), factor.size());
    for (const std::string_view factor : kFactorNames)
        fields << "Стен " + QByteArray(factor.data(), factor.size());
    fields << "F1" << "F2" << "F3" << "F4" << "Отчёт";
    return fields;
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
void addScores(QByteArray &text, const Scores &scores)
{
    for (const std::uint8_t score : scores) {
        text += ';';
        text += QByteArray::number(score);
    }
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

bool startsWithOlderHeader(const QString &path)
{
    QFile table(path);
    const QByteArray header = kUtf8ByteOrderMark + olderResultsTableHeader();
    return table.open(QIODevice::ReadOnly) && table.read(header.size()) == header;
}

// Done with the lock held. Only a plain file is looked at: a link or a device is refused
// by the append that follows. The replacement is renamed into place, so a crash leaves
// the older table or the upgraded one, never a mixture.
TableFailure upgradeOlderTable(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile() || !startsWithOlderHeader(path))
        return {};
    QFile older(path);
    errno = 0;
    if (!older.open(QIODevice::ReadOnly))
        return failureOf(TableFailure::Kind::Io, lastError());
    const QByteArray upgraded = upgradedOlderTable(older.readAll());
    older.close();
    QSaveFile table(path);
    errno = 0;
    if (!table.open(QIODevice::WriteOnly))
        return failureOf(TableFailure::Kind::Io, lastError());
    errno = 0;
    if (table.write(upgraded) != upgraded.size() || !table.flush()) {
        const int error = lastError();
        table.cancelWriting();
        return failureOf(TableFailure::Kind::Io, error);
    }
    errno = 0;
    if (!table.commit())
        return failureOf(TableFailure::Kind::Io, lastError());
    return {};
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

// Written and read by hand: Qt's date formats build a parser for every call, which a
// batch of many rows feels.
QString tableDateTime(const QDateTime &dateTime)
{
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    return QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02d", date.year(), date.month(),
                             date.day(), time.hour(), time.minute(), time.second());
}

QDateTime parseTableDateTime(const QString &text)
{
    // The pattern, with 'd' for each digit.
    static constexpr std::u16string_view kShape = u"dddd-dd-ddTdd:dd:dd";
    if (text.size() != qsizetype(kShape.size()))
        return {};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool digitWanted = kShape[i] == u'd';
        if (digitWanted ? !(text[i] >= u'0' && text[i] <= u'9') : text[i] != QChar(kShape[i]))
            return {};
    }
    const auto number = [&text](qsizetype from, qsizetype length) {
        return QStringView(text).sliced(from, length).toInt();
    };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const QTime time(number(11, 2), number(14, 2), number(17, 2));
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
    return joinedRow(headerFields() << "Проверка");
}

QByteArray olderResultsTableHeader()
{
    const QList<QByteArray> fields = headerFields();
    Q_ASSERT(fields.size() == kOlderResultsTableColumns);
    return fields.join(';') + "\r\n";
}

QString verifiedWithCorrections(int corrections)
{
    return corrections == 0 ? kVerified : kVerified + QStringLiteral(", исправлено %1").arg(corrections);
}

// A ';' before every line end that closes a record: one outside quotes, after a line that
// holds something.
QByteArray upgradedOlderTable(const QByteArray &older)
{
    const QByteArray olderStart = kUtf8ByteOrderMark + olderResultsTableHeader();
    Q_ASSERT(older.startsWith(olderStart));
    QByteArray upgraded = kUtf8ByteOrderMark + resultsTableHeader();
    upgraded.reserve(older.size() + older.size() / 256 + upgraded.size());
    bool quoted = false;
    bool lineHoldsText = false;
    for (qsizetype i = olderStart.size(); i < older.size(); ++i) {
        const char c = older[i];
        const bool lineEnd = c == '\n' || (c == '\r' && i + 1 < older.size() && older[i + 1] == '\n');
        if (c == '"')
            quoted = !quoted;
        if (lineEnd && !quoted && lineHoldsText)
            upgraded += ';';
        lineHoldsText = !(lineEnd && !quoted);
        upgraded += c;
        if (lineEnd && c == '\r') {
            upgraded += '\n';
            ++i;
        }
    }
    return upgraded;
}

QByteArray resultsTableRow(const ResultsRow &row, QChar decimalSeparator)
{
    constexpr qsizetype kUsualRowBytes = 512;
    QByteArray text;
    text.reserve(kUsualRowBytes);
    text += tableDateTime(row.scoredAt).toLatin1();
    text += ';' + quotedField(row.surname) + ';' + quotedField(row.sexText) + ';';
    text += QByteArray::number(row.age) + ';' + letters(row.options);
    addScores(text, row.raw);
    addScores(text, row.stens);
    for (const double value : row.secondOrder)
        text += ';' + quotedField(generalNumber(value, decimalSeparator));
    text += ';' + quotedField(row.reportFileName) + ';' + quotedField(row.verification) + "\r\n";
    return text;
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
    return appendToResultsTable(path, rows, kLockWaitMilliseconds);
}

TableFailure appendToResultsTable(const QString &path, const QByteArray &rows,
                                  int lockWaitMilliseconds)
{
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(lockWaitMilliseconds))
        return lockFailure(lock.error());
    if (const TableFailure failure = upgradeOlderTable(path); failure.failed())
        return failure;

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
