// Measures batch scoring on 100,000 generated rows, in one run on one machine:
//   - scoring alone: answer record → raw scores → stens → F1..F4, and the same from the
//     keyed letters, as the batch scores each row;
//   - the whole batch: reading the table, scoring, 100,000 reports and the new table;
//   - the floor: a plain loop writing the same 100,000 report files with the same bytes
//     and the same syncing (one sync of the folder's file system per kBatchRowsPerSync
//     files), with no scoring and no table.
// The batch and the floor run twice each, interleaved, so that the state of the disk hits
// both alike; each writes into a folder of its own.
//
//   zorven_batch_bench [FOLDER]   works in a temporary folder inside FOLDER (default /tmp)

#include "batch/batch_scoring.h"
#include "batch/batch_sheet.h"
#include "results/regional_settings.h"
#include "results/report.h"
#include "results/results_table.h"
#include "scoring/scoring_run.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>
#include <vector>

using namespace zorven;

namespace {

constexpr int kRows = 100'000;
constexpr int kScoringPasses = 5;
constexpr int kFileRuns = 2;

struct GeneratedSheet {
    QString surname;
    Sex sex;
    int age;
    KeyedOptions options;
};

// Fixed seed: every run scores the same sheets.
std::vector<GeneratedSheet> generatedSheets()
{
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> option(1, 3);
    std::uniform_int_distribution<int> age(16, 55);
    std::vector<GeneratedSheet> sheets(kRows);
    for (int i = 0; i < kRows; ++i) {
        GeneratedSheet &sheet = sheets[i];
        sheet.surname = QStringLiteral("Респондент %1").arg(i + 1, 6, 10, QChar(u'0'));
        sheet.sex = i % 2 ? Sex::Female : Sex::Male;
        sheet.age = age(random);
        for (int q = 1; q <= kStatementCount; ++q)
            sheet.options.set(q, option(random));
    }
    return sheets;
}

QByteArray inputTable(const std::vector<GeneratedSheet> &sheets)
{
    QByteArray table = kUtf8ByteOrderMark + "Дата;Фамилия;Пол;Возраст;Ответы\r\n";
    for (const GeneratedSheet &sheet : sheets) {
        QByteArray letters(kStatementCount, ' ');
        for (int q = 1; q <= kStatementCount; ++q)
            letters[q - 1] = optionLetter(sheet.options.at(q));
        table += "2026-12-08T10:00:00;" + sheet.surname.toUtf8() + ';'
               + sexTextOf(sheet.sex).toUtf8() + ';' + QByteArray::number(sheet.age) + ';'
               + letters + "\r\n";
    }
    return table;
}

// From the answer record on, as the window's scoring run starts: the records are made
// before the clock starts.
double scoringRowsPerSecond(const std::vector<GeneratedSheet> &generated)
{
    std::vector<Sheet> sheets(generated.size());
    for (std::size_t i = 0; i < generated.size(); ++i)
        sheets[i].answers = answerRecordOf(generated[i].options);
    std::vector<double> rates;
    unsigned checksum = 0;
    for (int pass = 0; pass < kScoringPasses; ++pass) {
        QElapsedTimer clock;
        clock.start();
        for (std::size_t i = 0; i < sheets.size(); ++i) {
            scoringRun(sheets[i], {generated[i].sex, generated[i].age}, [] {});
            checksum += sheets[i].stens[0];
        }
        rates.push_back(kRows / (clock.nsecsElapsed() / 1e9));
    }
    std::fprintf(stderr, "(checksum %u)\n", checksum);
    std::sort(rates.begin(), rates.end());
    return rates[rates.size() / 2];
}

// The same with the letters turned into the record first, as the batch scores each row.
double lettersScoringRowsPerSecond(const std::vector<GeneratedSheet> &sheets)
{
    std::vector<double> rates;
    unsigned checksum = 0;
    for (int pass = 0; pass < kScoringPasses; ++pass) {
        QElapsedTimer clock;
        clock.start();
        for (const GeneratedSheet &sheet : sheets)
            checksum += scoredSheet(sheet.options, sheet.sex, sheet.age).stens[0];
        rates.push_back(kRows / (clock.nsecsElapsed() / 1e9));
    }
    std::fprintf(stderr, "(checksum %u)\n", checksum);
    std::sort(rates.begin(), rates.end());
    return rates[rates.size() / 2];
}

struct Report {
    QByteArray name;
    QByteArray bytes;
};

// What the batch will write, made before the floor's clock starts.
std::vector<Report> reportsOf(const std::vector<GeneratedSheet> &sheets)
{
    const RegionalSettings regional = RegionalSettings::fromSystem();
    std::vector<Report> reports;
    reports.reserve(sheets.size());
    for (const GeneratedSheet &generated : sheets) {
        const Sheet sheet = scoredSheet(generated.options, generated.sex, generated.age);
        const ReportData data{generated.surname, generated.age, sexTextOf(generated.sex),
                              QDate(2026, 12, 8), sheet.stens, sheet.secondOrder};
        reports.push_back({QFile::encodeName(reportFileName(generated.surname)),
                           reportBytes(data, regional)});
    }
    return reports;
}

bool writeFile(int folder, const Report &report)
{
    const int fd = ::openat(folder, report.name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, report.bytes.constData(), report.bytes.size()) == report.bytes.size();
    return ::close(fd) == 0 && written;
}

double floorSeconds(const QString &path, const std::vector<Report> &reports)
{
    QDir().mkpath(path);
    const int folder = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    QElapsedTimer clock;
    clock.start();
    for (std::size_t i = 0; i < reports.size(); ++i) {
        if (!writeFile(folder, reports[i]))
            qFatal("the floor could not write %s", reports[i].name.constData());
        if ((i + 1) % kBatchRowsPerSync == 0)
            ::syncfs(folder);
    }
    ::syncfs(folder);
    const double seconds = clock.nsecsElapsed() / 1e9;
    ::close(folder);
    return seconds;
}

double batchSeconds(const QString &input, const QString &out)
{
    QFile messages;
    messages.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    QElapsedTimer clock;
    clock.start();
    const int status = runBatchScoring({QStringLiteral("--score"), input, QStringLiteral("--out"), out},
                                       messages, false);
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (status != kBatchAllScored)
        qFatal("the batch ended with %d", status);
    return seconds;
}

// The disk's writeback from one run must not be paid by the next. Nothing is deleted until
// the end: ext4 makes new files slowly right after many were deleted (it searches past
// recently freed inodes), which would charge one run for the one before.
void settle()
{
    ::sync();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp");
    QTemporaryDir work(base + QStringLiteral("/zorven-batch-bench-XXXXXX"));
    if (!work.isValid())
        qFatal("no temporary folder in %s", qPrintable(base));

    const std::vector<GeneratedSheet> sheets = generatedSheets();
    const QString input = work.filePath(QStringLiteral("in.csv"));
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly) || file.write(inputTable(sheets)) < 0)
            qFatal("cannot write the input table");
    }
    const double scoringRate = scoringRowsPerSecond(sheets);
    const double lettersScoringRate = lettersScoringRowsPerSecond(sheets);
    const std::vector<Report> reports = reportsOf(sheets);

    double floorTotal = 0;
    double batchTotal = 0;
    settle();
    for (int run = 0; run < kFileRuns; ++run) {
        floorTotal += floorSeconds(work.filePath(QStringLiteral("floor%1").arg(run)), reports);
        settle();
        batchTotal += batchSeconds(input, work.filePath(QStringLiteral("batch%1").arg(run)));
        settle();
    }
    const double floorRate = kRows * kFileRuns / floorTotal;
    const double batchRate = kRows * kFileRuns / batchTotal;

    std::printf("%-50s %16s %18s\n", "measure (100,000 rows)", "value", "target");
    std::printf("%-50s %11.0f rows/s %18s\n", "scoring alone (record, raw, stens, F), median of 5", scoringRate,
                ">= 1,000,000/s");
    std::printf("%-50s %11.0f rows/s %18s\n", "the same from the keyed letters, median of 5", lettersScoringRate, "");
    std::printf("%-50s %11.0f rows/s %18s\n", "whole batch with reports and table, mean of 2", batchRate, "");
    std::printf("%-50s %11.0f rows/s %18s\n", "floor: the same report files, same syncs, mean of 2", floorRate, "");
    std::printf("%-50s %15.2fx %18s\n", "batch time / floor time", batchTotal / floorTotal, "<= 1.5x");
    std::printf("%-50s %16d\n", "reports per sync of the folder's file system", kBatchRowsPerSync);
    return 0;
}
