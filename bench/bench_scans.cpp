// How well the reader of scanned sheets reads, and how fast. Generated sheets (see
// tests/scans/sheet_generator.h) are filled as respondents fill them and scanned as
// scanners scan them, under one condition at a time and at 150, 200 and 300 dpi; each is
// read from its file bytes as a scan would be. For each condition and resolution it prints:
//   clear marks read right, clear marks read as a wrong letter (confident wrong: the worst
//   error), clear marks sent to a person, truly doubtful marks (two marks, erased, too
//   light) sent to a person and scored anyway, pages failed, upside-down pages read the
//   wrong way up, and pages read per second of one core's processor time (decoding
//   included).
//
//   zorven_scans_bench [PAGES_PER_ROW]

#include "scan/page_reader.h"
#include "sheet_generator.h"

#include <QGuiApplication>

#include <cstdio>
#include <ctime>
#include <functional>
#include <random>
#include <vector>

namespace {

using namespace sheet_generator;

// The processor time this thread has had: pages per second on one core, whatever else the
// machine is doing meanwhile.
qint64 cpuNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

struct Condition {
    const char *name;
    std::function<void(Conditions &, std::mt19937 &)> apply;
};

double uniform(std::mt19937 &random, double from, double to)
{
    return std::uniform_real_distribution<double>(from, to)(random);
}

// Every page gets a little of everything a scanner does; each condition pushes one thing
// to the limit the reader must take.
void mild(Conditions &c, std::mt19937 &random)
{
    c.rotationDegrees = uniform(random, -1, 1);
    c.scale = uniform(random, 0.99, 1.01);
    c.shiftMm = uniform(random, -1, 1);
    c.blurSigma = uniform(random, 0.3, 0.7);
    c.noiseSigma = uniform(random, 1, 3);
    c.jpegQuality = int(uniform(random, 80, 95));
}

const std::vector<Condition> kConditions = {
    {"clean", [](Conditions &, std::mt19937 &) {}},
    {"rotated up to 5 deg", [](Conditions &c, std::mt19937 &r) { c.rotationDegrees = uniform(r, -5, 5); }},
    {"shift, scale 3%, slant",
     [](Conditions &c, std::mt19937 &r) {
         c.shiftMm = uniform(r, -4, 4);
         c.scale = r() % 2 ? 0.97 : 1.03;
         c.perspective = 0.004;
     }},
    {"blur and noise",
     [](Conditions &c, std::mt19937 &r) {
         c.blurSigma = uniform(r, 1.0, 1.4);
         c.noiseSigma = uniform(r, 6, 10);
     }},
    {"JPEG 50-95", [](Conditions &c, std::mt19937 &r) { c.jpegQuality = int(uniform(r, 50, 95)); }},
    {"uneven light", [](Conditions &c, std::mt19937 &r) { c.unevenLight = uniform(r, 0.2, 0.35); }},
    {"folded corner", [](Conditions &c, std::mt19937 &r) { c.foldedCorner = int(r() % 4); }},
    {"upside down", [](Conditions &c, std::mt19937 &) { c.upsideDown = true; }},
    {"light pencil", [](Conditions &c, std::mt19937 &) { c.pen = Pen::LightPencil; }},
    {"pencil", [](Conditions &c, std::mt19937 &) { c.pen = Pen::Pencil; }},
    {"blue ballpoint, colour",
     [](Conditions &c, std::mt19937 &) {
         c.pen = Pen::BlueBallpoint;
         c.colour = true;
     }},
    {"felt pen", [](Conditions &c, std::mt19937 &) { c.pen = Pen::FeltPen; }},
    {"ticks", [](Conditions &c, std::mt19937 &) { c.style = Style::Tick; }},
    {"circles", [](Conditions &c, std::mt19937 &) { c.style = Style::Circle; }},
    {"fills", [](Conditions &c, std::mt19937 &) { c.style = Style::Fill; }},
    {"all at once",
     [](Conditions &c, std::mt19937 &) { c = randomConditions(c.seed, c.dpi); }},
};

struct Tally {
    int pages = 0, failed = 0, turnedWrong = 0;
    int clear = 0, clearRight = 0, clearWrong = 0, clearSent = 0;
    int doubtful = 0, doubtfulSent = 0, doubtfulScored = 0;
    int corrections = 0, correctionsWrong = 0;
    int fieldsWrong = 0;
    qint64 nanoseconds = 0;

    void add(const Tally &t)
    {
        pages += t.pages, failed += t.failed, turnedWrong += t.turnedWrong;
        clear += t.clear, clearRight += t.clearRight, clearWrong += t.clearWrong, clearSent += t.clearSent;
        doubtful += t.doubtful, doubtfulSent += t.doubtfulSent, doubtfulScored += t.doubtfulScored;
        corrections += t.corrections, correctionsWrong += t.correctionsWrong, fieldsWrong += t.fieldsWrong;
        nanoseconds += t.nanoseconds;
    }
};

bool sent(QChar reading)
{
    return reading == u'?' || reading == u'-';
}

void count(Tally &tally, const Page &page, const zorven::scan::ScannedPage &read, bool upsideDown)
{
    ++tally.pages;
    if (!read.wasRead()) {
        ++tally.failed;
        std::fprintf(stderr, "  failed: %s\n", qPrintable(read.failure));
        if (const QString dump = qEnvironmentVariable("ZORVEN_BENCH_DUMP"); !dump.isEmpty())
            page.image.save(QStringLiteral("%1/failed-%2-%3.png").arg(dump).arg(page.image.height()).arg(tally.pages));
        return;
    }
    if ((read.turnedDegrees == 180) != upsideDown)
        ++tally.turnedWrong;
    for (int q = 0; q < zorven::kStatementCount; ++q) {
        const QChar reading = read.statements[std::size_t(q)].reading;
        const QChar expected = page.expected[std::size_t(q)];
        switch (page.truth[std::size_t(q)]) {
        case Truth::Clear:
        case Truth::Blank:
            ++tally.clear;
            if (reading == expected)
                ++tally.clearRight;
            else if (sent(reading))
            {
                ++tally.clearSent;
                if (qEnvironmentVariableIsSet("ZORVEN_BENCH_VERBOSE"))
                    std::fprintf(stderr, "  sent %d: %s\n", q + 1, qPrintable(read.statements[std::size_t(q)].why));
            }
            else
                ++tally.clearWrong;
            break;
        case Truth::Correction:
            ++tally.corrections;
            if (!sent(reading) && reading != expected)
                ++tally.correctionsWrong;
            break;
        case Truth::TwoMarks:
        case Truth::Erasure:
        case Truth::TooLight:
            ++tally.doubtful;
            (sent(reading) ? tally.doubtfulSent : tally.doubtfulScored)++;
            if (!sent(reading) && qEnvironmentVariableIsSet("ZORVEN_BENCH_VERBOSE"))
                std::fprintf(stderr, "  scored %d (%d) as %c: %.3f %.3f %.3f\n", q + 1, int(page.truth[std::size_t(q)]),
                             char(reading.unicode()), read.statements[std::size_t(q)].darkness.value(0),
                             read.statements[std::size_t(q)].darkness.value(1), read.statements[std::size_t(q)].darkness.value(2));
            break;
        }
    }
    const QChar tens = read.ageTens.reading, units = read.ageUnits.reading;
    const bool ageWrong = !sent(tens) && !sent(units)
                          && (tens.digitValue() * 10 + units.digitValue()) != page.age;
    if ((!sent(read.sex.reading) && read.sex.reading != page.sex) || ageWrong)
        ++tally.fieldsWrong;
}

void printHeader()
{
    std::printf("%-24s %4s %5s %7s %6s %6s %6s %7s %6s %5s %5s %6s %6s\n", "condition", "dpi", "pages", "clear",
                "right%", "wrong", "sent%", "doubtf", "sent%", "scord", "fail", "upsdn", "pg/s");
}

void printRow(const char *name, int dpi, const Tally &t)
{
    const auto percent = [](int part, int whole) { return whole ? 100.0 * part / whole : 0.0; };
    std::printf("%-24s %4d %5d %7d %6.2f %6d %6.2f %7d %6.1f %5d %5d %6d %6.1f\n", name, dpi, t.pages, t.clear,
                percent(t.clearRight, t.clear), t.clearWrong, percent(t.clearSent, t.clear), t.doubtful,
                percent(t.doubtfulSent, t.doubtful), t.doubtfulScored, t.failed, t.turnedWrong,
                t.nanoseconds ? t.pages * 1e9 / double(t.nanoseconds) : 0.0);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv); // the printed sheet is drawn with its fonts
    const int pagesPerRow = argc > 1 ? std::atoi(argv[1]) : 4;
    printHeader();
    Tally total;
    std::vector<Tally> byDpi(3);
    const int resolutions[] = {150, 200, 300};
    std::uint32_t seed = 1;
    // ZORVEN_BENCH_ONLY=NAME runs one condition, for tuning; the seeds stay those of the full run.
    const QByteArray only = qgetenv("ZORVEN_BENCH_ONLY");
    for (const Condition &condition : kConditions) {
        if (!only.isEmpty() && only != condition.name) {
            seed += 3 * pagesPerRow;
            continue;
        }
        for (int r = 0; r < 3; ++r) {
            Tally tally;
            for (int i = 0; i < pagesPerRow; ++i, ++seed) {
                std::mt19937 random(seed);
                Conditions c;
                c.seed = seed;
                c.dpi = resolutions[r];
                mild(c, random);
                condition.apply(c, random);
                const Page page = generatedPage(c);
                const qint64 start = cpuNanoseconds();
                const zorven::scan::ScannedPage read = zorven::scan::readPage(QImage::fromData(page.file));
                tally.nanoseconds += cpuNanoseconds() - start;
                count(tally, page, read, c.upsideDown);
            }
            printRow(condition.name, resolutions[r], tally);
            byDpi[std::size_t(r)].add(tally);
            total.add(tally);
        }
    }
    for (int r = 0; r < 3; ++r)
        printRow("all conditions", resolutions[r], byDpi[std::size_t(r)]);
    printRow("all", 0, total);
    std::printf("corrections by the sheet's rule: %d, read as a wrong letter: %d; sex or age read wrong: %d\n",
                total.corrections, total.correctionsWrong, total.fieldsWrong);
    return 0;
}
