#include "results/session_journal.h"

#include "results/results_table.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QUrl>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorven {

namespace {

const QByteArray kFirstLine = "zorven-session 1";
const QString kNamePrefix = QStringLiteral("zorven-session-");
const QString kNameSuffix = QStringLiteral(".journal");
const QString kLockSuffix = QStringLiteral(".lock");
constexpr char kLetters[] = {'a', 'b', 'c'};

// How many random names are tried before giving up on a folder full of them.
constexpr int kNameAttempts = 20;

QString failureText(int error)
{
    return plainErrorText(error);
}

std::unique_ptr<QLockFile> lockFor(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path + kLockSuffix);
    // A session lasts far longer than any default: only a lock whose program is gone is
    // stale.
    lock->setStaleLockTime(0);
    return lock;
}

QString newJournalName(const QDateTime &startedAt)
{
    return kNamePrefix + startedAt.toString(QStringLiteral("yyyyMMdd-HHmmss-"))
           + QString::number(QRandomGenerator::global()->bounded(100000, 1000000)) + kNameSuffix;
}

QByteArray headerOf(const SessionRespondent &respondent, const QDateTime &startedAt)
{
    return kFirstLine + '\n'
           + "surname " + QUrl::toPercentEncoding(respondent.surname) + '\n'
           + "sex " + sexTextOf(respondent.sex).toUtf8() + '\n'
           + "age " + QByteArray::number(respondent.age) + '\n'
           + "started " + tableDateTime(startedAt).toUtf8() + '\n';
}

bool writeWhole(int descriptor, const QByteArray &bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(descriptor, bytes.constData() + written, size_t(bytes.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            if (count == 0)
                errno = EIO;
            return false;
        }
        written += count;
    }
    return true;
}

// A program stopped while writing leaves a last line without its end: it is cut off, so
// that the next line does not run into it.
bool cutTornLine(int descriptor)
{
    struct stat status {};
    if (::fstat(descriptor, &status) != 0)
        return false;
    off_t end = status.st_size;
    char c = 0;
    while (end > 0) {
        if (::pread(descriptor, &c, 1, end - 1) != 1)
            return false;
        if (c == '\n')
            break;
        --end;
    }
    return end == status.st_size || (::ftruncate(descriptor, end) == 0 && ::fsync(descriptor) == 0);
}

// Reading: one line at a time, the session stepped as the screen stepped it.
class JournalParser
{
public:
    JournalReading read(const QByteArray &bytes);

private:
    bool readHeader(const QList<QByteArray> &lines);
    bool readEvent(const QByteArray &line);
    QByteArray valueOf(const QByteArray &line, const QByteArray &key);
    bool fail(const QString &why);

    JournalContents m_contents;
    int m_line = 0;
    QString m_problem;
};

JournalReading JournalParser::read(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast(); // after the last line end: empty, or a line cut short
    if (!readHeader(lines))
        return {std::nullopt, m_problem};
    for (m_line = 6; m_line <= lines.size(); ++m_line) {
        if (!readEvent(lines[m_line - 1]))
            return {std::nullopt, m_problem};
    }
    return {m_contents, {}};
}

bool JournalParser::readHeader(const QList<QByteArray> &lines)
{
    m_line = 1;
    if (lines.isEmpty() || lines[0] != kFirstLine)
        return fail(QStringLiteral("это не журнал тестирования"));
    if (lines.size() < 5) {
        m_line = lines.size() + 1;
        return fail(QStringLiteral("нет анкетных данных"));
    }
    m_line = 2;
    const QByteArray surname = valueOf(lines[1], "surname");
    m_contents.respondent.surname = QUrl::fromPercentEncoding(surname);
    m_line = 3;
    const QString sexText = QString::fromUtf8(valueOf(lines[2], "sex"));
    const std::optional<Sex> sex = sexOfText(sexText);
    if (!sex && !sexText.isEmpty())
        return fail(QStringLiteral("неизвестный пол"));
    m_contents.respondent.sex = sex.value_or(Sex::None);
    m_line = 4;
    bool isNumber = false;
    m_contents.respondent.age = valueOf(lines[3], "age").toInt(&isNumber);
    const int maximum = maximumAgeFor(m_contents.respondent.sex).value_or(kMaleMaximumAge);
    if (!isNumber || m_contents.respondent.age < kMinimumAge || m_contents.respondent.age > maximum)
        return fail(QStringLiteral("неверный возраст"));
    m_line = 5;
    const QDateTime started = parseTableDateTime(QString::fromUtf8(valueOf(lines[4], "started")));
    if (!started.isValid())
        return fail(QStringLiteral("неверное время начала"));
    // The wall-clock time it was written in, local as the screen's clock was.
    m_contents.startedAt = QDateTime(started.date(), started.time());
    return m_problem.isEmpty();
}

bool JournalParser::readEvent(const QByteArray &line)
{
    const QList<QByteArray> words = line.split(' ');
    ScreenSession &session = m_contents.session;
    bool isNumber = false;
    const int statement = words.value(1).toInt(&isNumber);
    if (!isNumber || statement != (words[0] == "back" ? session.statementOnShow() - 1
                                                      : session.statementOnShow()))
        return fail(QStringLiteral("утверждение не по порядку"));
    if (words[0] == "back" && words.size() == 2)
        return session.back() || fail(QStringLiteral("утверждение не по порядку"));
    if (words[0] != "answer" || words.size() != 4 || words[2].size() != 1 || session.isFinished())
        return fail(QStringLiteral("непонятная запись"));
    const int option = int(words[2][0] - 'a') + 1;
    const qint64 milliseconds = words[3].toLongLong(&isNumber);
    if (option < 1 || option > 3 || !isNumber || milliseconds < 0)
        return fail(QStringLiteral("непонятный ответ"));
    session.answer(option, milliseconds);
    return true;
}

QByteArray JournalParser::valueOf(const QByteArray &line, const QByteArray &key)
{
    if (!line.startsWith(key + ' ')) {
        fail(QStringLiteral("нет строки «%1»").arg(QLatin1String(key)));
        return {};
    }
    return line.sliced(key.size() + 1);
}

bool JournalParser::fail(const QString &why)
{
    if (m_problem.isEmpty())
        m_problem = QStringLiteral("строка %1: %2").arg(m_line).arg(why);
    return false;
}

} // namespace

QStringList sessionJournalsIn(const QDir &folder)
{
    QStringList paths;
    for (const QString &name : folder.entryList({kNamePrefix + QLatin1Char('*') + kNameSuffix},
                                                QDir::Files | QDir::System | QDir::Hidden,
                                                QDir::Name))
        paths << folder.absoluteFilePath(name);
    return paths;
}

JournalReading readSessionJournal(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile())
        return {std::nullopt, QStringLiteral("это не обычный файл")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, file.errorString()};
    return JournalParser().read(file.readAll());
}

SessionJournal::SessionJournal(QString path, int descriptor, std::unique_ptr<QLockFile> lock)
    : m_path(std::move(path)), m_descriptor(descriptor), m_lock(std::move(lock))
{
}

SessionJournal::~SessionJournal()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

std::unique_ptr<SessionJournal> SessionJournal::start(const QDir &folder, const SessionRespondent &respondent,
                                                      const QDateTime &startedAt, QString *error)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString path = folder.absoluteFilePath(newJournalName(startedAt));
        std::unique_ptr<QLockFile> lock = lockFor(path);
        if (!lock->tryLock(0))
            continue;
        const int descriptor = ::open(QFile::encodeName(path).constData(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (descriptor < 0 && errno == EEXIST)
            continue;
        if (descriptor < 0) {
            *error = failureText(errno);
            return nullptr;
        }
        std::unique_ptr<SessionJournal> journal(new SessionJournal(path, descriptor, std::move(lock)));
        if (::fchmod(descriptor, 0600) != 0 || !journal->appendLine(headerOf(respondent, startedAt), error)) {
            if (error->isEmpty())
                *error = failureText(errno);
            QFile::remove(path);
            return nullptr;
        }
        return journal;
    }
    *error = failureText(EEXIST);
    return nullptr;
}

std::unique_ptr<SessionJournal> SessionJournal::reopen(const QString &path, QString *error)
{
    std::unique_ptr<QLockFile> lock = lockFor(path);
    if (!lock->tryLock(0)) {
        *error = QStringLiteral("с ним работает другая копия программы");
        return nullptr;
    }
    const int descriptor = ::open(QFile::encodeName(path).constData(),
                                  O_RDWR | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        *error = failureText(errno);
        return nullptr;
    }
    std::unique_ptr<SessionJournal> journal(new SessionJournal(path, descriptor, std::move(lock)));
    if (!cutTornLine(descriptor)) {
        *error = failureText(errno);
        return nullptr;
    }
    return journal;
}

bool SessionJournal::appendAnswer(int statement, int option, qint64 milliseconds, QString *error)
{
    Q_ASSERT(option >= 1 && option <= 3);
    return appendLine("answer " + QByteArray::number(statement) + ' ' + kLetters[option - 1] + ' '
                          + QByteArray::number(milliseconds) + '\n',
                      error);
}

bool SessionJournal::appendBack(int statement, QString *error)
{
    return appendLine("back " + QByteArray::number(statement) + '\n', error);
}

// One write, so that a line is torn only by the program stopping inside it, then a sync:
// the line is on the disk before the caller shows anything more. A line that was not
// synced is taken off again: the answer counts as not given, and the same answer given
// again must not stand in the journal twice.
bool SessionJournal::appendLine(const QByteArray &line, QString *error)
{
    struct stat before {};
    if (::fstat(m_descriptor, &before) != 0) {
        *error = failureText(errno);
        return false;
    }
    errno = 0;
    if (writeWhole(m_descriptor, line) && ::fsync(m_descriptor) == 0)
        return true;
    const int failure = errno != 0 ? errno : EIO;
    if (::ftruncate(m_descriptor, before.st_size) == 0)
        ::fsync(m_descriptor);
    *error = failureText(failure);
    return false;
}

bool SessionJournal::remove(QString *error)
{
    if (QFile::remove(m_path) || !QFileInfo::exists(m_path))
        return true;
    *error = failureText(errno != 0 ? errno : EACCES);
    return false;
}

} // namespace zorven
