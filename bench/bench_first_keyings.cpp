// Measures the lookup of a sheet's first keying for verification in a results table of
// 400,000 rows, as the window does it at «Далее»: the time it takes and the memory it adds.
// Every fourth row verifies the one before it; the surname looked for has a few sheets
// spread over the table, one of them verified.
//
//   zorven_first_keyings_bench [FOLDER]   writes the table in a temporary folder inside
//                                          FOLDER (default /tmp)

#include "results/first_keyings.h"
#include "results/results_table.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

using namespace zorven;

namespace {

constexpr int kRows = 400'000;
const QString kLookedFor = QStringLiteral("Смирнова О.И.");

ResultsRow generatedRow(int i)
{
    ResultsRow row;
    row.scoredAt = QDateTime(QDate(2026, 12, 8), QTime(9, 0)).addSecs(i);
    const bool lookedFor = i % 50'000 == 1 || i % 50'000 == 2;
    row.surname = lookedFor ? kLookedFor : QStringLiteral("Респондент %1").arg(i / 2, 6, 10, QChar(u'0'));
    row.sexText = sexTextOf(Sex::Female);
    row.age = 16 + i % 40;
    for (int q = 1; q <= kStatementCount; ++q)
        row.options.set(q, (q * 7 + i) % 3 + 1);
    row.reportFileName = row.surname + QStringLiteral(" %1.txt").arg(i / 2);
    row.verification = i % 4 == 3 ? kVerified : QString();
    return row;
}

// Peak resident memory of the process so far, in megabytes.
double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp");
    QTemporaryDir work(base + QStringLiteral("/zorven-lookup-bench-XXXXXX"));
    const QString path = work.filePath(kResultsTableFileName);
    {
        QFile table(path);
        if (!work.isValid() || !table.open(QIODevice::WriteOnly))
            qFatal("cannot write the table in %s", qPrintable(base));
        table.write(kUtf8ByteOrderMark + resultsTableHeader());
        for (int i = 0; i < kRows; ++i)
            table.write(resultsTableRow(generatedRow(i)));
    }
    const double peakBefore = peakMegabytes();
    QElapsedTimer clock;
    clock.start();
    const QList<TableSheet> found = unverifiedSheetsInFile(path, kLookedFor);
    const qint64 milliseconds = clock.elapsed();

    std::printf("%-50s %16s\n", "first-keying lookup (400,000-row table)", "value");
    std::printf("%-50s %13lld ms\n", "time to find the unverified sheets", static_cast<long long>(milliseconds));
    std::printf("%-50s %13.0f MB\n", "peak memory added", peakMegabytes() - peakBefore);
    std::printf("%-50s %16lld\n", "table size, MB", static_cast<long long>(QFile(path).size() >> 20));
    std::printf("%-50s %16lld\n", "sheets found", static_cast<long long>(found.size()));
    return 0;
}
