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
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QSet>
#include <QStringDecoder>

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

// Rows [from, to) of `records`; touches nothing but its arguments, so it runs on a
// thread of its own.
std::vector<ScoredRow> scoredRows(const QList<TableRecord> &records, qsizetype from, qsizetype to,
                                  const RegionalSettings &regional)
{
    std::vector<ScoredRow> rows(to - from);
    for (qsizetype i = from; i < to; ++i) {
        ScoredRow &row = rows[i - from];
        row.line = records[i].line;
        std::variant<BatchSheet, QString> sheetOrReason = batchSheetOf(records[i]);
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

    // The rows go in groups of kBatchRowsPerSync: while one group's reports are written
    // and synced, the next group is scored on a second thread, so that the disk, not the
    // scoring, sets the pace. Everything that is written or said happens here, in the
    // order of the rows.
    int run()
    {
        QList<TableRecord> records;
        if (!readInput(records) || !prepareOutput())
            return kBatchCannotRun;
        const qsizetype total = records.size();
        const auto scoreGroupFrom = [this, &records, total](qsizetype from) {
            return std::async(std::launch::async, [this, &records, from, total] {
                return scoredRows(records, from, std::min(from + kBatchRowsPerSync, total),
                                  m_regional);
            });
        };
        std::future<std::vector<ScoredRow>> next = scoreGroupFrom(0);
        int done = 0;
        for (qsizetype from = 0; from < total; from += kBatchRowsPerSync) {
            const std::vector<ScoredRow> group = next.get();
            if (from + kBatchRowsPerSync < total)
                next = scoreGroupFrom(from + kBatchRowsPerSync);
            for (const ScoredRow &row : group) {
                if (!keepRow(row)) {
                    keepPendingRows();
                    return kBatchCannotRun;
                }
                m_messages.progress(++done, m_rejected, total);
            }
            if (!keepPendingRows())
                return kBatchCannotRun;
        }
        m_messages.finish(total, m_rejected);
        return m_rejected == 0 && m_unwritten == 0 ? kBatchAllScored : kBatchRowsRejected;
    }

private:
    bool cannotRun(const QString &message)
    {
        m_messages.say(message);
        return false;
    }

    bool readInput(QList<TableRecord> &records)
    {
        QFile file(m_paths.input);
        errno = 0;
        if (!file.open(QIODevice::ReadOnly))
            return cannotRun(QStringLiteral("%1: файл не прочитан: %2")
                                 .arg(m_paths.input, readingErrorText(errno ? errno : EIO)));
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return cannotRun(QStringLiteral("%1: файл не прочитан: %2")
                                 .arg(m_paths.input, file.errorString()));
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder(bytes);
        if (decoder.hasError())
            return cannotRun(QStringLiteral("%1: файл не в кодировке UTF-8").arg(m_paths.input));
        records = tableRecords(text);
        return takeHeader(records);
    }

    // A table without its header would silently lose its first sheet as one.
    bool takeHeader(QList<TableRecord> &records)
    {
        if (records.isEmpty())
            return cannotRun(QStringLiteral("%1: нет строки заголовка").arg(m_paths.input));
        if (parseTableDateTime(records.front().fields.front().trimmed()).isValid())
            return cannotRun(QStringLiteral("%1:%2: первая строка — данные, а нужна строка заголовка")
                                 .arg(m_paths.input)
                                 .arg(records.front().line));
        records.removeFirst();
        return true;
    }

    // The folder is made if need be; appending no rows then creates or checks the table,
    // so that a folder that cannot be written stops the batch before any report.
    bool prepareOutput()
    {
        if (!QDir().mkpath(m_paths.outDir))
            return cannotRun(QStringLiteral("%1: папка не создана").arg(m_paths.outDir));
        m_folder = ::open(QFile::encodeName(m_paths.outDir).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_folder < 0)
            return cannotRun(
                QStringLiteral("%1: папка не открыта: %2").arg(m_paths.outDir, plainErrorText(errno)));
        if (const TableFailure failure = appendToResultsTable(m_tablePath, {}); failure.failed())
            return cannotRun(tableFailureText(failure, m_tablePath));
        return true;
    }

    // False when the folder can take no more reports: the batch stops there.
    bool keepRow(const ScoredRow &row)
    {
        if (!row.rejection.isEmpty()) {
            ++m_rejected;
            m_messages.say(QStringLiteral("%1:%2: %3").arg(m_paths.input).arg(row.line).arg(row.rejection));
            return true;
        }
        QString reportName;
        if (!writeReportOf(row, reportName))
            return false;
        const BatchSheet &input = row.input;
        m_rows += resultsTableRow({input.scoredAt, input.surname, sexTextOf(input.sex), input.age,
                                   input.options, row.sheet.raw, row.sheet.stens,
                                   row.sheet.secondOrder, reportName, input.verification},
                                  m_regional.decimalSeparator);
        ++m_pendingRows;
        return true;
    }

    // `name` is what the report was written under, empty when it could not be written.
    // False when the failure is the folder's, not the row's: every later report would
    // fail the same way, so the batch stops with the rows of the reports it wrote.
    bool writeReportOf(const ScoredRow &row, QString &name)
    {
        const int line = row.line;
        const QString wanted = unusedReportName(row.reportName);
        const int code = writeReport(m_outDir.filePath(wanted), row.report, ReportSync::LeftToCaller);
        if (code == 0) {
            m_usedNames.insert(wanted);
            name = wanted;
            return true;
        }
        ++m_unwritten;
        const bool folderFailed = code == ENOSPC || code == EDQUOT || code == EROFS;
        m_messages.say(QStringLiteral("%1:%2: отчёт «%3» не записан: %4%5")
                           .arg(m_paths.input)
                           .arg(line)
                           .arg(wanted, russianReportError(code),
                                folderFailed ? QStringLiteral("; обработка остановлена") : QString()));
        name.clear();
        return !folderFailed;
    }

    // A batch never replaces a report it wrote itself: two respondents of one surname
    // both keep theirs.
    QString unusedReportName(const QString &name) const
    {
        return firstFreeReportName(name, [this](const QString &candidate) {
            return !m_usedNames.contains(candidate);
        });
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
    bool keepPendingRows()
    {
        if (m_pendingRows == 0)
            return true;
        if (const int error = syncFileSystemOf(m_folder))
            return cannotRun(QStringLiteral("%1: отчёты не сохранены на диске: %2")
                                 .arg(m_paths.outDir, plainErrorText(error)));
        if (const TableFailure failure = appendToResultsTable(m_tablePath, m_rows); failure.failed())
            return cannotRun(tableFailureText(failure, m_tablePath));
        m_rows.clear();
        m_pendingRows = 0;
        return true;
    }

    BatchPaths m_paths;
    BatchMessages &m_messages;
    QDir m_outDir;
    QString m_tablePath;
    RegionalSettings m_regional;
    int m_folder = -1;
    QSet<QString> m_usedNames;
    QByteArray m_rows;
    int m_pendingRows = 0;
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
