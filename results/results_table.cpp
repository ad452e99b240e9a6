#include "results/results_table.h"

#include "results/general_number.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorven {

namespace {

// How often a waiting writer looks again for a lock file left empty.
constexpr int kLockRetryMilliseconds = 100;
// A writer makes its lock file and writes its process number into it at once; an empty
// lock file older than this was left by a writer stopped in between.
constexpr qint64 kLeftoverLockAgeSeconds = 2;

// The table is a data file: its numbers are written alike on every machine, with the
// comma the Russian regional settings use.
constexpr QChar kTableDecimalSeparator = u',';

// Read in pieces of this size when a torn last line is looked into or a table upgraded.
constexpr qint64 kScanBytes = 1 << 20;

// A write that fails without telling why is still a failure of the disk.
constexpr int kUnexplainedFailure = EIO;

constexpr QIODevice::OpenMode kAppendMode =
    QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered;

bool startsLikeFormula(const QString &text)
{
    static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
    return !text.isEmpty() && kFormulaStarts.contains(text.front());
}

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

// Every column's header, in order; "Время, мин" is quoted for its comma like any field.
QList<QByteArray> headerFields()
{
    QList<QByteArray> fields = {"Дата", "Фамилия", "Пол", "Возраст", "Ответы"};
    for (const std::string_view factor : kFactorNames)
        fields << "Балл " + QByteArray(factor.data(), factor.size());
    for (const std::string_view factor : kFactorNames)
        fields << "Стен " + QByteArray(factor.data(), factor.size());
    fields << "F1" << "F2" << "F3" << "F4";
    for (const QString &header : {kReportHeader, kVerificationHeader, kEntryMethodHeader, kMinutesHeader})
        fields << quotedField(header);
    Q_ASSERT(fields.size() == kResultsTableColumns);
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
    TableFailure failure;
    failure.kind = kind;
    failure.error = error;
    return failure;
}

int lastError()
{
    return errno != 0 ? errno : kUnexplainedFailure;
}

bool startsWithOurHeader(QFileDevice &table, int columns)
{
    const QByteArray header = kUtf8ByteOrderMark + resultsTableHeader(columns);
    return table.seek(0) && table.read(header.size()) == header;
}

// The table never keeps half a row: what a failed append left is cut back off.
void cutBack(QFileDevice &table, qint64 size)
{
    table.resize(size);
}

// How a torn last line is ended: the quote it left open closed, then the line end it
// lacks; and the line it started on.
struct TornLine {
    QByteArray ending;
    int line = 0;
};

// A table saved by an editor that ends lines with LF alone is whole too: only a line that
// stops without any LF, or inside a CR LF, is torn.
bool endsInLineEnd(QFileDevice &table, qint64 size)
{
    return size >= 1 && table.seek(size - 1) && table.read(1) == "\n";
}

// Reads the whole table once, which only a damaged table costs: every '"' of our rows
// belongs to a pair, so the count of quotes tells whether the file ends inside a quoted
// field, and a line end outside quotes starts a row.
TornLine tornLineOf(QFileDevice &table, qint64 size)
{
    TornLine torn;
    bool quoted = false;
    int line = 1;
    int rowLine = 1;
    char last = 0;
    table.seek(0);
    while (table.pos() < size) {
        const QByteArray piece = table.read(kScanBytes);
        if (piece.isEmpty())
            break;
        for (const char byte : piece) {
            if (byte == '"')
                quoted = !quoted;
            if (byte == '\n') {
                ++line;
                if (!quoted)
                    rowLine = line;
            }
        }
        last = piece.back();
    }
    torn.line = rowLine;
    torn.ending = quoted ? QByteArray("\"\r\n") : last == '\r' ? QByteArray("\n") : QByteArray("\r\n");
    return torn;
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

// Who the lock file names as its holder, when it names one.
QString lockHolderOf(const QLockFile &lock)
{
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock.getLockInfo(&pid, &host, &application))
        return {};
    return QStringLiteral("%1, процесс %2 на компьютере «%3»").arg(application).arg(pid).arg(host);
}

TableFailure lockFailure(const QLockFile &lock)
{
    if (lock.error() != QLockFile::LockFailedError)
        return failureOf(TableFailure::Kind::LockRefused);
    TableFailure failure = failureOf(TableFailure::Kind::Busy);
    failure.lockDetail = lockHolderOf(lock);
    return failure;
}

// What stands where the lock file goes when it is not a plain file, in Russian; empty
// for nothing or a plain file. QLockFile would wait on any of these as on a lock held.
QString nonFileLockEntry(const QString &lockPath)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(lockPath).constData(), &status) != 0 || S_ISREG(status.st_mode))
        return {};
    if (S_ISLNK(status.st_mode))
        return QStringLiteral("ссылка");
    if (S_ISDIR(status.st_mode))
        return QStringLiteral("папка");
    return QStringLiteral("устройство или канал");
}

bool isLeftoverEmptyLock(const QString &lockPath)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(lockPath).constData(), &status) == 0 && S_ISREG(status.st_mode)
        && status.st_size == 0 && ::time(nullptr) - status.st_mtime > kLeftoverLockAgeSeconds;
}

// Removed under the lock QLockFile itself takes to remove a stale lock file, so that no
// two writers remove one file: the later would remove the lock the earlier then made.
void removeLeftoverEmptyLock(const QString &lockPath)
{
    if (!isLeftoverEmptyLock(lockPath))
        return;
    QLockFile removal(lockPath + QStringLiteral(".rmlock"));
    if (removal.tryLock(0) && isLeftoverEmptyLock(lockPath))
        ::unlink(QFile::encodeName(lockPath).constData());
}

// Waits for the lock as QLockFile would, but takes over an empty lock file left by a
// stopped writer at once instead of after QLockFile's half a minute.
TableFailure takeLock(QLockFile &lock, const QString &lockPath, int waitMilliseconds)
{
    if (const QString entry = nonFileLockEntry(lockPath); !entry.isEmpty()) {
        TableFailure failure = failureOf(TableFailure::Kind::LockNotAFile);
        failure.lockDetail = entry;
        return failure;
    }
    const QDeadlineTimer deadline(waitMilliseconds);
    for (;;) {
        removeLeftoverEmptyLock(lockPath);
        if (lock.tryLock(kLockRetryMilliseconds))
            return {};
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return lockFailure(lock);
    }
}

// The file-size limit a process may be given (ulimit -f) refuses writes past it.
bool exceedsFileSizeLimit(qint64 size)
{
    struct rlimit limit {};
    return ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
        && rlim_t(size) > limit.rlim_cur;
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

// The width of a table an earlier version wrote, from its first bytes; 0 for any other.
int olderTableColumns(QByteArrayView start)
{
    for (const int columns : {kOlderResultsTableColumns, kVerifiedResultsTableColumns}) {
        if (start.startsWith(kUtf8ByteOrderMark + resultsTableHeader(columns)))
            return columns;
    }
    return 0;
}

// Turns an older table's rows into rows of today's width as they stream past: the missing
// columns' ';' go before every line end that closes a record (one outside quotes, after a
// line that holds something). CR LF, LF and CR alone each end a line, as spreadsheets write
// all three; a last line without any line end (a writer stopped half-way) is left as it is.
class RowWidening
{
public:
    explicit RowWidening(int columns) : m_emptyColumns(kResultsTableColumns - columns, ';') {}

    QByteArray widened(QByteArrayView piece)
    {
        QByteArray out;
        out.reserve(piece.size() + piece.size() / 64);
        for (const char c : piece) {
            const bool lfOfCrLf = c == '\n' && m_afterCr;
            if (c == '"')
                m_quoted = !m_quoted;
            const bool lineEnd = !m_quoted && (c == '\r' || c == '\n') && !lfOfCrLf;
            if (lineEnd && m_lineHoldsText)
                out += m_emptyColumns;
            if (!lfOfCrLf)
                m_lineHoldsText = !lineEnd;
            m_afterCr = lineEnd && c == '\r';
            out += c;
        }
        return out;
    }

private:
    QByteArray m_emptyColumns;
    bool m_quoted = false;
    bool m_lineHoldsText = false;
    bool m_afterCr = false;
};

// Our rows cut to the first `columns` fields, for a table that keeps an older format.
QByteArray rowsCutTo(const QByteArray &rows, int columns)
{
    QByteArray cut;
    cut.reserve(rows.size());
    bool quoted = false;
    int separators = 0;
    for (const char c : rows) {
        if (c == '"')
            quoted = !quoted;
        const bool lineEnd = !quoted && (c == '\r' || c == '\n');
        if (!quoted && c == ';')
            ++separators;
        if (lineEnd)
            separators = 0;
        if (separators < columns || lineEnd)
            cut += c;
    }
    return cut;
}

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Why an older table could not be replaced by its upgrade while it can still take rows:
// the user may write the table but not give a new file its owner and group (another
// user's table in a shared folder), nor replace it (an append-only file, a folder that
// is not writable, or one whose sticky bit keeps others' files).
bool keepsOlderFormat(int error)
{
    return error == EPERM || error == EACCES;
}

struct UpgradeOutcome {
    TableFailure failure;
    int keptColumns = 0; // the older width the table keeps; 0 when upgraded or not older
};

UpgradeOutcome upgradeFailure(int error, int columns)
{
    UpgradeOutcome outcome;
    if (keepsOlderFormat(error))
        outcome.keptColumns = columns;
    else
        outcome.failure = failureOf(TableFailure::Kind::Io, error);
    return outcome;
}

// The upgrade's bytes into `to`, read from `from` after the older header, a piece at a time
// so that a table of any size costs a fixed amount of memory. 0 or errno.
int writeUpgraded(QFile &from, int to, int columns)
{
    RowWidening widening(columns);
    QByteArray bytes = kUtf8ByteOrderMark + resultsTableHeader();
    for (;;) {
        qsizetype written = 0;
        while (written < bytes.size()) {
            errno = 0;
            const ssize_t count = ::write(to, bytes.constData() + written, bytes.size() - written);
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0)
                return lastError();
            written += count;
        }
        if (from.atEnd())
            return ::fsync(to) == 0 ? 0 : lastError();
        const QByteArray piece = from.read(kScanBytes);
        if (piece.isEmpty())
            return kUnexplainedFailure;
        bytes = widening.widened(piece);
    }
}

// Done with the lock held. Only a plain file is looked at: a link or a device is refused
// by the append that follows. The upgrade is written beside the table with the table's
// owner, group and permission bits and renamed over it, so a crash leaves the older table
// or the upgraded one, never a mixture. Where the table cannot be replaced so, it keeps
// its format and takes rows of its own width (told in keptColumns).
UpgradeOutcome upgradeOlderTable(const QString &path)
{
    Descriptor older{::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC)};
    struct stat status {};
    if (older.fd < 0 || ::fstat(older.fd, &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    QFile from;
    if (!from.open(older.fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return {};
    const int columns = olderTableColumns(from.read(kUtf8ByteOrderMark.size() + resultsTableHeader().size()));
    if (columns == 0 || !from.seek(kUtf8ByteOrderMark.size() + resultsTableHeader(columns).size()))
        return {};
    // The lock is held, so a file of this name is a leftover of an upgrade that was stopped.
    const QByteArray upgradeName = QFile::encodeName(path + QStringLiteral(".upgrade"));
    ::unlink(upgradeName.constData());
    errno = 0;
    Descriptor upgrade{::open(upgradeName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600)};
    if (upgrade.fd < 0)
        return upgradeFailure(lastError(), columns);
    errno = 0;
    int error = ::fchown(upgrade.fd, status.st_uid, status.st_gid) == 0
            && ::fchmod(upgrade.fd, status.st_mode & 07777) == 0
        ? writeUpgraded(from, upgrade.fd, columns)
        : lastError();
    errno = 0;
    if (error == 0 && ::rename(upgradeName.constData(), QFile::encodeName(path).constData()) != 0)
        error = lastError();
    if (error != 0)
        ::unlink(upgradeName.constData());
    return error == 0 ? UpgradeOutcome{} : upgradeFailure(error, columns);
}

QString reasonText(const TableFailure &failure, const QString &lockPath)
{
    switch (failure.kind) {
    case TableFailure::Kind::Foreign:
        return QStringLiteral("файл с таким именем не является таблицей результатов "
                              "(его первая строка другая), он оставлен без изменений");
    case TableFailure::Kind::NotAFile:
        return QStringLiteral("под этим именем находится не обычный файл, а ссылка, "
                              "папка или устройство");
    case TableFailure::Kind::Busy:
        if (failure.lockDetail.isEmpty())
            return QStringLiteral("файл блокировки «%1» занят, но не говорит кем; если программа "
                                  "нигде не запущена, удалите его")
                .arg(QDir::toNativeSeparators(lockPath));
        return QStringLiteral("таблицу сейчас занимает другая копия программы (%1)")
            .arg(failure.lockDetail);
    case TableFailure::Kind::LockRefused:
        return QStringLiteral("в папке не удалось создать файл блокировки (нет прав на запись "
                              "или места на диске)");
    case TableFailure::Kind::LockNotAFile:
        return QStringLiteral("на месте файла блокировки «%1» находится %2; удалите «%3»")
            .arg(QDir::toNativeSeparators(lockPath), failure.lockDetail,
                 QFileInfo(lockPath).fileName());
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
    return joinedRow(headerFields());
}

QByteArray resultsTableHeader(int columns)
{
    return headerFields().mid(0, columns).join(';') + "\r\n";
}

QByteArray olderResultsTableHeader()
{
    return resultsTableHeader(kOlderResultsTableColumns);
}

QString verifiedWithCorrections(int corrections)
{
    return corrections == 0 ? kVerified : kVerified + QStringLiteral(", исправлено %1").arg(corrections);
}

QString scannedAndChecked(int checkedAnswers)
{
    return kScanned + QStringLiteral(", проверено %1").arg(checkedAnswers);
}

QString sessionMinutes(int minutes)
{
    return QString::number(minutes);
}

QByteArray resultsTableRow(const ResultsRow &row)
{
    constexpr qsizetype kUsualRowBytes = 512;
    QByteArray text;
    text.reserve(kUsualRowBytes);
    text += tableDateTime(row.scoredAt).toLatin1();
    text += ';' + quotedField(formulaSafeText(row.surname)) + ';' + quotedField(row.sexText) + ';';
    text += QByteArray::number(row.age) + ';' + letters(row.options);
    addScores(text, row.raw);
    addScores(text, row.stens);
    for (const double value : row.secondOrder)
        text += ';' + quotedField(generalNumber(value, kTableDecimalSeparator));
    text += ';' + quotedField(formulaSafeText(row.reportFileName)) + ';' + quotedField(row.verification)
            + ';' + quotedField(row.entryMethod) + ';' + quotedField(row.minutes) + "\r\n";
    return text;
}

QByteArray quotedTableField(const QString &text)
{
    return quotedField(text);
}

namespace {

// A text that starts with the mark itself is marked too, so that taking one mark off
// gives back every text as typed: «'=x» is written «''=x», not «'=x», which is «=x»'s.
bool needsMark(const QString &text)
{
    return startsLikeFormula(text) || text.startsWith(u'\'');
}

} // namespace

QString formulaSafeText(const QString &text)
{
    return needsMark(text) ? u'\'' + text : text;
}

QString textOfTableField(const QString &field)
{
    return field.startsWith(u'\'') && needsMark(field.mid(1)) ? field.mid(1) : field;
}

// Appends rows already of the table's width, `columns`.
TableFailure appendAtWidth(QFileDevice &table, const QByteArray &rows, int columns)
{
    const qint64 sizeBefore = table.size();
    QByteArray bytes;
    TornLine torn;
    if (sizeBefore == 0)
        bytes = kUtf8ByteOrderMark + resultsTableHeader();
    else if (!startsWithOurHeader(table, columns))
        return failureOf(TableFailure::Kind::Foreign);
    else if (!endsInLineEnd(table, sizeBefore))
        torn = tornLineOf(table, sizeBefore);
    bytes += torn.ending + rows;
    if (bytes.isEmpty())
        return {};
    TableFailure failure = writeAndSync(table, bytes, sizeBefore);
    if (!failure.failed())
        failure.tornLine = torn.line;
    return failure;
}

TableFailure appendToOpenTable(QFileDevice &table, const QByteArray &rows)
{
    return appendAtWidth(table, rows, kResultsTableColumns);
}

struct HeldResultsTable::Held {
    Held(const QString &path, int lockWaitMilliseconds)
        : path(path), lockPath(path + QStringLiteral(".lock")), lock(lockPath),
          lockWaitMilliseconds(lockWaitMilliseconds)
    {
    }

    QString path;
    QString lockPath;
    QLockFile lock;
    int lockWaitMilliseconds;
    QFile file;
    int columns = kResultsTableColumns; // fewer for an older table that could not be upgraded
};

HeldResultsTable::HeldResultsTable(const QString &path, int lockWaitMilliseconds)
    : m_held(std::make_unique<Held>(path, lockWaitMilliseconds))
{
}

HeldResultsTable::~HeldResultsTable() = default;

TableFailure HeldResultsTable::open()
{
    if (const TableFailure failure =
            takeLock(m_held->lock, m_held->lockPath, m_held->lockWaitMilliseconds);
        failure.failed())
        return failure;
    const UpgradeOutcome upgrade = upgradeOlderTable(m_held->path);
    if (upgrade.failure.failed())
        return upgrade.failure;
    if (upgrade.keptColumns != 0)
        m_held->columns = upgrade.keptColumns;
    errno = 0;
    const int fd = openTableFile(m_held->path);
    if (fd < 0) {
        const int error = lastError();
        return error == ELOOP || error == EISDIR ? failureOf(TableFailure::Kind::NotAFile)
                                                 : failureOf(TableFailure::Kind::Io, error);
    }
    if (!isRegularFile(fd)) {
        ::close(fd);
        return failureOf(TableFailure::Kind::NotAFile);
    }
    if (!m_held->file.open(fd, kAppendMode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failureOf(TableFailure::Kind::Io, kUnexplainedFailure);
    }
    TableFailure opened = appendAtWidth(m_held->file, {}, m_held->columns);
    if (m_held->columns != kResultsTableColumns)
        opened.olderColumnsKept = m_held->columns;
    return opened;
}

// Blocks set aside beyond the end keep the file's size, so a reader sees only whole
// rows. Only a lack of room fails here: where the file system cannot set blocks aside
// at all, a failed append is still cut back.
TableFailure HeldResultsTable::reserve(qint64 bytes)
{
    const qint64 size = m_held->file.size();
    if (exceedsFileSizeLimit(size + bytes))
        return failureOf(TableFailure::Kind::Io, EFBIG);
#ifdef __linux__
    if (::fallocate(m_held->file.handle(), FALLOC_FL_KEEP_SIZE, size, bytes) != 0
        && (errno == ENOSPC || errno == EDQUOT || errno == EFBIG))
        return failureOf(TableFailure::Kind::Io, errno);
#endif
    return {};
}

TableFailure HeldResultsTable::append(const QByteArray &rows)
{
    if (m_held->columns == kResultsTableColumns)
        return appendAtWidth(m_held->file, rows, kResultsTableColumns);
    return appendAtWidth(m_held->file, rowsCutTo(rows, m_held->columns), m_held->columns);
}

TableFailure appendToResultsTable(const QString &path, const QByteArray &rows)
{
    return appendToResultsTable(path, rows, kLockWaitMilliseconds);
}

TableFailure appendToResultsTable(const QString &path, const QByteArray &rows,
                                  int lockWaitMilliseconds)
{
    HeldResultsTable table(path, lockWaitMilliseconds);
    TableFailure failure = table.open();
    if (failure.failed())
        return failure;
    const TableFailure opened = failure;
    failure = table.append(rows);
    failure.tornLine = opened.tornLine;
    failure.olderColumnsKept = opened.olderColumnsKept;
    return failure;
}

QString tableFailureText(const TableFailure &failure, const QString &path)
{
    const QString absolutePath = QFileInfo(path).absoluteFilePath();
    return QStringLiteral("Строка результатов не добавлена в таблицу «%1»: %2.")
        .arg(QDir::toNativeSeparators(absolutePath),
             reasonText(failure, absolutePath + QStringLiteral(".lock")));
}

QString tornLineText(int line, const QString &path)
{
    return QStringLiteral("В таблице «%1» строка %2 была оборвана (запись прервалась или файл "
                          "правили вручную); она закончена, новые строки начинаются с новой строки.")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()))
        .arg(line);
}

namespace {

// «Проверка», «Способ ввода», «Время, мин»: the columns a table of `columns` lacks.
QString missingColumnsText(int columns)
{
    const QStringList missing =
        QStringList{kVerificationHeader, kEntryMethodHeader, kMinutesHeader}.mid(columns - kOlderResultsTableColumns);
    return u'«' + missing.join(QStringLiteral("», «")) + u'»';
}

} // namespace

QString olderTableKeptText(int columns, const QString &path)
{
    return QStringLiteral("Таблица «%1» записана прежней версией программы (столбцов %2), и перевести её "
                          "в новый формат нельзя: заменить её файлом с тем же владельцем, группой и "
                          "правами может только её владелец или администратор, а файл с атрибутом "
                          "«только добавление» (chattr +a) не может заменить никто. Строка добавлена "
                          "в прежнем формате, без столбцов %3, которых в таблице нет. "
                          "Чтобы перевести таблицу в новый формат, пусть её владелец (для файла "
                          "«только добавление» — после chattr -a) добавит в неё строку этой программой.")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()))
        .arg(columns)
        .arg(missingColumnsText(columns));
}

} // namespace zorven
