#include "batch/batch_scoring.h"

#include "questionnaire/keyed_options.h"
#include "batch/batch_sheet.h"
#include "results/io_error.h"
#include "results/regional_settings.h"
#include "results/report.h"
#include "results/report_file.h"
#include "results/report_naming.h"
#include "results/results_table.h"
#include "results/table_records.h"
#include "scoring/scoring_run.h"

#include <QDir>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <future>
#include <optional>
#include <unistd.h>
#include <variant>
#include <vector>

namespace zorven {

namespace {

const QString kScoreOption = QStringLiteral("--score");
const QString kOutOption = QStringLiteral("--out");
const QString kUsage = QStringLiteral("Использование: zorventest --score ТАБЛИЦА.csv --out ПАПКА");

constexpr qint64 kProgressIntervalMilliseconds = 250;

// Column 42 of the table, the report's file name, counted from 0.
constexpr qsizetype kReportNameColumn = 41;

struct BatchPaths {
    QString input;
    QString outDir;
};

// Exactly one --score and one --out, each with a value, in either order.
std::optional<BatchPaths> batchPathsOf(const QStringList &arguments)
{
    constexpr int kArgumentCount = 4;
    if (arguments.size() != kArgumentCount)
        return std::nullopt;
    QMap<QString, QString> values;
    for (int i = 0; i < kArgumentCount; i += 2)
        values.insert(arguments[i], arguments[i + 1]);
    const BatchPaths paths{values.value(kScoreOption), values.value(kOutOption)};
    if (values.size() != 2 || paths.input.isEmpty() || paths.outDir.isEmpty())
        return std::nullopt;
    return paths;
}

QString readingErrorText(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("файл не найден");
    case EACCES:
    case EPERM:
        return QStringLiteral("нет прав на чтение");
    case EISDIR:
        return QStringLiteral("это папка");
    default:
        return QStringLiteral("системная ошибка %1").arg(error);
    }
}

QString russianReportError(int code)
{
    switch (code) {
    case kFileNotFound:
        return QStringLiteral("папка не найдена");
    case kInvalidFilename:
        return QStringLiteral("недопустимое имя файла");
    case kTooManyOpenFiles:
        return QStringLiteral("открыто слишком много файлов");
    case kFileAccessDenied:
        return QStringLiteral("доступ запрещён");
    default:
        return plainErrorText(code);
    }
}

// 0 when everything written in the folder's file system is on the disk, else errno.
int syncFileSystemOf(int folder)
{
#ifdef __linux__
    return ::syncfs(folder) == 0 ? 0 : errno;
#else
    Q_UNUSED(folder);
    ::sync();
    return 0;
#endif
}

QString minutesAndSeconds(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'));
}

// Messages on standard error: a rejection per line and, on a terminal, one progress line
// that is rewritten in place and cleared before each message.
class BatchMessages
{
public:
    BatchMessages(QIODevice &out, bool showProgress) : m_out(out), m_showProgress(showProgress)
    {
        m_clock.start();
    }

    void say(const QString &line)
    {
        clearProgress();
        m_out.write((line + u'\n').toUtf8());
    }

    void progress(int done, int rejected, int total)
    {
        if (!m_showProgress || (m_shown && m_clock.elapsed() - m_lastShown < kProgressIntervalMilliseconds))
            return;
        m_lastShown = m_clock.elapsed();
        const qint64 secondsLeft = done == 0 ? 0 : m_clock.elapsed() * (total - done) / done / 1000;
        write(QStringLiteral("\rОбработано %1 из %2, отклонено %3, осталось %4")
                  .arg(done)
                  .arg(total)
                  .arg(rejected)
                  .arg(minutesAndSeconds(secondsLeft)));
    }

    void finish(int total, int rejected)
    {
        if (!m_showProgress)
            return;
        write(QStringLiteral("\rОбработано %1 из %1, отклонено %2\n").arg(total).arg(rejected));
        m_shown = false;
    }

private:
    void write(const QString &text)
    {
        clearProgress();
        m_out.write(text.toUtf8());
        m_shown = true;
    }

    void clearProgress()
    {
        if (m_shown)
            m_out.write("\r\x1B[K");
        m_shown = false;
    }

    QIODevice &m_out;
    bool m_showProgress;
    bool m_shown = false;
    QElapsedTimer m_clock;
    qint64 m_lastShown = 0;
};

// A row scored, its report made, nothing written yet.
struct ScoredRow {
    int line = 0;
    QString rejection; // why the row cannot be scored; empty when it was
    BatchSheet input;
    Sheet sheet;
    QByteArray report;
    QString reportName; // before a number is added for a name the batch already used
};

// A group's records, scored; touches nothing but its arguments, so it runs on a thread
// of its own.
std::vector<ScoredRow> scoredRows(const QList<TableRecord> &records, const BatchColumns &columns,
                                  const RegionalSettings &regional)
{
    std::vector<ScoredRow> rows(records.size());
    for (qsizetype i = 0; i < records.size(); ++i) {
        ScoredRow &row = rows[i];
        row.line = records[i].line;
        std::variant<BatchSheet, QString> sheetOrReason = batchSheetOf(records[i], columns);
        if (QString *reason = std::get_if<QString>(&sheetOrReason)) {
            row.rejection = std::move(*reason);
            continue;
        }
        row.input = std::get<BatchSheet>(std::move(sheetOrReason));
        row.sheet = scoredSheet(row.input.options, row.input.sex, row.input.age);
        const ReportData data{row.input.surname, row.input.age, sexTextOf(row.input.sex),
                              row.input.scoredAt.date(), row.sheet.stens, row.sheet.secondOrder};
        row.report = reportBytes(data, regional);
        row.reportName = reportFileName(row.input.surname);
    }
    return rows;
}

// A sheet as columns 1 to 5 of the table hold it, hashed: a batch run again into the same
// folder knows by it which input rows the table already holds. 128 bits make a chance
// match of two different sheets negligible at any table size.
QByteArray sheetKey(const QString &date, const QString &surname, const QString &sex,
                    const QString &age, const QString &answers)
{
    const QString text = QStringList{date, surname, sex, age, answers}.join(u'\x1F');
    return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Blake2s_128);
}

QByteArray sheetKeyOf(const BatchSheet &sheet)
{
    QString answers(kStatementCount, u' ');
    for (int q = 1; q <= kStatementCount; ++q)
        answers[q - 1] = QChar::fromLatin1(optionLetter(sheet.options.at(q)));
    return sheetKey(tableDateTime(sheet.scoredAt), sheet.surname, sexTextOf(sheet.sex),
                    QString::number(sheet.age), answers);
}

// A row planned for the table: its scored row, the report name it will be written
// under, and its row of the table naming that report.
struct PlannedRow {
    const ScoredRow *row = nullptr;
    QString reportName;
    QByteArray tableRow;
};

// The table's bytes for a planned row; `reportName` empty when the report was not written.
QByteArray tableRowOf(const ScoredRow &row, const QString &reportName)
{
    const BatchSheet &input = row.input;
    return resultsTableRow({input.scoredAt, input.surname, sexTextOf(input.sex), input.age,
                            input.options, row.sheet.raw, row.sheet.stens, row.sheet.secondOrder,
                            reportName, input.verification, input.entryMethod, input.minutes});
}

class BatchRun
{
public:
    BatchRun(const BatchPaths &paths, BatchMessages &messages)
        : m_paths(paths), m_messages(messages), m_outDir(paths.outDir),
          m_tablePath(m_outDir.filePath(kResultsTableFileName)),
          m_regional(RegionalSettings::fromSystem())
    {
    }

    ~BatchRun()
    {
        if (m_folder >= 0)
            ::close(m_folder);
    }

    // The input is read twice, a group at a time, so that a table of any size is never
    // held whole: once to check it and count its rows, once to score them. The rows go
    // in groups of kBatchRowsPerSync: while one group's reports are written and synced,
    // the next group is scored on a second thread, so that the disk, not the scoring,
    // sets the pace. Everything that is written or said happens here, in row order.
    int run()
    {
        if (!surveyInput() || !prepareOutput())
            return kBatchCannotRun;
        QFile file(m_paths.input);
        if (!file.open(QIODevice::ReadOnly)) {
            m_messages.say(QStringLiteral("%1: файл не прочитан").arg(m_paths.input));
            return stopped();
        }
        TableRecordStream input(file);
        input.next(1); // the header
        const auto scoreGroup = [this](QList<TableRecord> records) {
            return std::async(std::launch::async, [this, records = std::move(records)] {
                return scoredRows(records, m_columns, m_regional);
            });
        };
        std::future<std::vector<ScoredRow>> next = scoreGroup(input.next(kBatchRowsPerSync));
        for (;;) {
            const std::vector<ScoredRow> group = next.get();
            QList<TableRecord> following = input.next(kBatchRowsPerSync);
            const bool last = following.isEmpty();
            if (!last)
                next = scoreGroup(std::move(following));
            if (!keepGroup(group))
                return stopped();
            if (last)
                break;
        }
        if (input.notUtf8() || input.readFailed()) {
            m_messages.say(QStringLiteral("%1: файл изменился во время обработки").arg(m_paths.input));
            return stopped();
        }
        m_messages.finish(m_total, m_rejected);
        sayWhatWasSkipped();
        return m_rejected == 0 && m_unwritten == 0 ? kBatchAllScored : kBatchRowsRejected;
    }

private:
    bool cannotRun(const QString &message)
    {
        m_messages.say(message);
        return false;
    }

    // After a failure that stops the batch: what stays in the folder agrees with the table.
    int stopped()
    {
        m_messages.say(QStringLiteral("%1: обработка остановлена; строк этого запуска в таблице «%2»: "
                                      "%3, у каждой свой отчёт, других отчётов запуск не оставил")
                           .arg(m_paths.input, QDir::toNativeSeparators(QFileInfo(m_tablePath).absoluteFilePath()))
                           .arg(m_keptRows));
        sayWhatWasSkipped();
        return kBatchCannotRun;
    }

    void sayWhatWasSkipped()
    {
        if (m_skipped > 0)
            m_messages.say(QStringLiteral("%1: пропущено строк, которые уже есть в таблице «%2» "
                                          "после прежнего запуска: %3")
                               .arg(m_paths.input, QDir::toNativeSeparators(QFileInfo(m_tablePath).absoluteFilePath()))
                               .arg(m_skipped));
    }

    bool inputUnreadable(const TableRecordStream &stream)
    {
        if (stream.notUtf8())
            return !cannotRun(QStringLiteral("%1: файл не в кодировке UTF-8").arg(m_paths.input));
        if (stream.readFailed())
            return !cannotRun(QStringLiteral("%1: файл не прочитан до конца").arg(m_paths.input));
        return false;
    }

    // Reads the input through once: it must be UTF-8, start with a header and hold rows.
    bool surveyInput()
    {
        QFile file(m_paths.input);
        errno = 0;
        if (!file.open(QIODevice::ReadOnly))
            return cannotRun(QStringLiteral("%1: файл не прочитан: %2")
                                 .arg(m_paths.input, readingErrorText(errno ? errno : EIO)));
        TableRecordStream stream(file);
        const QList<TableRecord> header = stream.next(1);
        if (inputUnreadable(stream) || !checkHeader(header))
            return false;
        for (QList<TableRecord> group; !(group = stream.next(kBatchRowsPerSync)).isEmpty();)
            m_total += int(group.size());
        if (inputUnreadable(stream))
            return false;
        if (m_total == 0)
            return cannotRun(QStringLiteral("%1: в файле нет строк данных").arg(m_paths.input));
        return true;
    }

    // A table without its header would silently lose its first sheet as one.
    bool checkHeader(const QList<TableRecord> &header)
    {
        if (header.isEmpty())
            return cannotRun(QStringLiteral("%1: нет строки заголовка").arg(m_paths.input));
        if (looksLikeSheet(header.front()))
            return cannotRun(QStringLiteral("%1:%2: первая строка — данные, а нужна строка заголовка")
                                 .arg(m_paths.input)
                                 .arg(header.front().line));
        if (header.front().unclosedQuote)
            return cannotRun(QStringLiteral("%1: кавычка в строке заголовка не закрыта до конца "
                                            "файла, строки данных не прочитаны").arg(m_paths.input));
        m_columns = batchColumnsOf(header.front());
        if (m_columns.count < kResultsTableInputColumns)
            return cannotRun(QStringLiteral("%1:%2: в строке заголовка столбцов %3, а нужно не меньше %4")
                                 .arg(m_paths.input)
                                 .arg(header.front().line)
                                 .arg(m_columns.count)
                                 .arg(kResultsTableInputColumns));
        return true;
    }

    // The folder is made if need be; opening the table then creates or checks it, so
    // that a folder that cannot be written stops the batch before any report.
    bool prepareOutput()
    {
        if (!QDir().mkpath(m_paths.outDir))
            return cannotRun(QStringLiteral("%1: папка не создана").arg(m_paths.outDir));
        m_folder = ::open(QFile::encodeName(m_paths.outDir).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_folder < 0)
            return cannotRun(
                QStringLiteral("%1: папка не открыта: %2").arg(m_paths.outDir, plainErrorText(errno)));
        HeldResultsTable table(m_tablePath);
        const TableFailure failure = table.open();
        if (failure.tornLine != 0)
            m_messages.say(tornLineText(failure.tornLine, m_tablePath));
        if (failure.failed())
            return cannotRun(tableFailureText(failure, m_tablePath));
        return learnWhatTheTableHolds();
    }

    // A batch run again into the same folder, after it was stopped or with an input that
    // grew, finds the rows it already kept: their sheets are skipped, their report names
    // stay taken. Each kept row stands for one input row, so a sheet that is in the input
    // twice is still scored twice.
    bool learnWhatTheTableHolds()
    {
        QFile file(m_tablePath);
        if (!file.open(QIODevice::ReadOnly))
            return cannotRun(QStringLiteral("%1: таблица не прочитана").arg(m_tablePath));
        TableRecordStream stream(file);
        const QList<TableRecord> header = stream.next(1);
        const qsizetype columns = header.isEmpty() ? 0 : header.front().fields.size();
        for (QList<TableRecord> group; !(group = stream.next(kBatchRowsPerSync)).isEmpty();) {
            for (const TableRecord &record : group) {
                const QStringList &f = record.fields;
                if (f.size() != columns || columns <= kReportNameColumn)
                    continue; // a torn row: its sheet is scored again
                ++m_alreadyKept[sheetKey(f[0], textOfTableField(f[1]), f[2], f[3], f[4])];
                if (const QString name = textOfTableField(f[kReportNameColumn]); !name.isEmpty())
                    m_usedNames.insert(name);
            }
        }
        if (stream.notUtf8() || stream.readFailed())
            return cannotRun(QStringLiteral("%1: таблица не прочитана до конца (не в кодировке UTF-8 "
                                            "или ошибка чтения), строки, которые в ней уже есть, "
                                            "не узнать").arg(QDir::toNativeSeparators(m_tablePath)));
        return true;
    }

    bool isAlreadyKept(const ScoredRow &row)
    {
        const auto kept = m_alreadyKept.find(sheetKeyOf(row.input));
        if (kept == m_alreadyKept.end() || *kept == 0)
            return false;
        --*kept;
        return true;
    }

    // Rejections are told, rows the table already holds skipped, and each other row
    // given the report name it will be written under.
    std::vector<PlannedRow> plannedRows(const std::vector<ScoredRow> &group)
    {
        std::vector<PlannedRow> planned;
        for (const ScoredRow &row : group) {
            if (!row.rejection.isEmpty()) {
                ++m_rejected;
                m_messages.say(QStringLiteral("%1:%2: %3").arg(m_paths.input).arg(row.line).arg(row.rejection));
            } else if (isAlreadyKept(row)) {
                ++m_skipped;
            } else {
                const QString name = unusedReportName(row.reportName);
                planned.push_back({&row, name, tableRowOf(row, name)});
                continue;
            }
            m_messages.progress(++m_done, m_rejected, m_total);
        }
        return planned;
    }

    // The lock file and the room for the group's rows are made before its reports: a
    // folder that fills up then stops the batch before a report it could give no row.
    bool keepGroup(const std::vector<ScoredRow> &group)
    {
        const std::vector<PlannedRow> planned = plannedRows(group);
        if (planned.empty())
            return true;
        HeldResultsTable table(m_tablePath);
        qint64 roomNeeded = 0;
        for (const PlannedRow &plan : planned)
            roomNeeded += plan.tableRow.size();
        TableFailure failure = table.open();
        if (!failure.failed())
            failure = table.reserve(roomNeeded);
        if (failure.failed())
            return cannotRun(tableFailureText(failure, m_tablePath));
        return writeGroup(planned, table);
    }

    // False when the batch must stop: the folder can take no more reports, or the rows
    // could not be kept (then the group's reports are taken away again).
    bool writeGroup(const std::vector<PlannedRow> &planned, HeldResultsTable &table)
    {
        QByteArray rows;
        QStringList written;
        int rowCount = 0;
        bool folderFull = false;
        for (const PlannedRow &plan : planned) {
            const WrittenReport report = writeReportOf(*plan.row, plan.reportName);
            if (report == WrittenReport::FolderFull) {
                folderFull = true;
                break;
            }
            if (report == WrittenReport::Written) {
                written << plan.reportName;
                rows += plan.tableRow;
            } else {
                rows += tableRowOf(*plan.row, QString());
            }
            ++rowCount;
            m_messages.progress(++m_done, m_rejected, m_total);
        }
        if (!keepRows(rows, table)) {
            for (const QString &name : std::as_const(written))
                QFile::remove(m_outDir.filePath(name));
            return false;
        }
        m_keptRows += rowCount;
        return !folderFull;
    }

    enum class WrittenReport { Written, Refused, FolderFull };

    // A report refused for its row alone leaves the row with an empty report name; a full
    // or read-only folder would refuse every later report the same way.
    WrittenReport writeReportOf(const ScoredRow &row, const QString &name)
    {
        const int code = writeReport(m_outDir.filePath(name), row.report, ReportSync::LeftToCaller);
        if (code == 0)
            return WrittenReport::Written;
        ++m_unwritten;
        const bool folderFailed = code == ENOSPC || code == EDQUOT || code == EROFS;
        m_messages.say(QStringLiteral("%1:%2: отчёт «%3» не записан: %4%5")
                           .arg(m_paths.input)
                           .arg(row.line)
                           .arg(name, russianReportError(code),
                                folderFailed ? QStringLiteral("; обработка остановлена") : QString()));
        return folderFailed ? WrittenReport::FolderFull : WrittenReport::Refused;
    }

    // A batch never replaces a report it wrote itself, nor one a row of the table names:
    // two respondents of one surname both keep theirs. The next number to try is kept per
    // name, so that many equal names cost no more than as many different ones.
    QString unusedReportName(const QString &name)
    {
        QString candidate = name;
        if (m_usedNames.contains(candidate)) {
            int &number = m_nextNumber[name];
            number = std::max(number, 2);
            while (m_usedNames.contains(candidate = numberedReportName(name, number)))
                ++number;
            ++number;
        }
        m_usedNames.insert(candidate);
        return candidate;
    }

    // Syncing each report alone costs the disk one journal commit per file, which is
    // most of a batch's time: QSaveFile's sync on every report made a batch 25 times
    // slower than writing the files. The folder's file system is synced once per group of
    // kBatchRowsPerSync rows instead, and the group's rows are appended only after that
    // sync, in one write with its own fsync. So the table never names a report that is
    // not on the disk, and a crash costs at most one group's reports, which have no row
    // yet and are written again by running the batch again. Each group also costs a lock
    // and the table's fsync, two journal commits more; at 1,000 rows a group these were
    // a tenth of the batch's time, at 5,000 they are lost in the noise, and 5,000 reports
    // are still only seconds of work to redo.
    bool keepRows(const QByteArray &rows, HeldResultsTable &table)
    {
        if (rows.isEmpty())
            return true;
        if (const int error = syncFileSystemOf(m_folder))
            return cannotRun(QStringLiteral("%1: отчёты не сохранены на диске: %2")
                                 .arg(m_paths.outDir, plainErrorText(error)));
        if (const TableFailure failure = table.append(rows); failure.failed())
            return cannotRun(tableFailureText(failure, m_tablePath));
        return true;
    }

    BatchPaths m_paths;
    BatchMessages &m_messages;
    QDir m_outDir;
    QString m_tablePath;
    RegionalSettings m_regional;
    int m_folder = -1;
    BatchColumns m_columns;
    int m_total = 0;
    int m_done = 0;
    QSet<QString> m_usedNames;
    QHash<QString, int> m_nextNumber;
    QHash<QByteArray, int> m_alreadyKept;
    int m_keptRows = 0;
    int m_skipped = 0;
    int m_rejected = 0;
    int m_unwritten = 0;
};

} // namespace

Sheet scoredSheet(const KeyedOptions &options, Sex sex, int age)
{
    Sheet sheet;
    sheet.options = options;
    sheet.answers = answerRecordOf(options);
    scoringRun(sheet, {sex, age}, [] {});
    return sheet;
}

int runBatchScoring(const QStringList &arguments, QIODevice &messages, bool showProgress)
{
    BatchMessages batchMessages(messages, showProgress);
    const std::optional<BatchPaths> paths = batchPathsOf(arguments);
    if (!paths) {
        batchMessages.say(kUsage);
        return kBatchCannotRun;
    }
    return BatchRun(*paths, batchMessages).run();
}

} // namespace zorven
