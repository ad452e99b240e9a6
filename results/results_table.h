#pragma once
// The results table: every scored sheet kept as one row of zorven-results.csv, so that a
// group's results can be read by a spreadsheet and a sheet re-scored without keying it
// again. The window appends one row per scoring; the batch scoring reads the same format.

#include "scoring/factors.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>

class QFileDevice;

namespace zorven {

inline const QString kResultsTableFileName = QStringLiteral("zorven-results.csv");
inline constexpr int kResultsTableColumns = 45;
// The widths of the tables earlier versions wrote, which the next append upgrades: before
// column 43, «Проверка», existed, and before columns 44 and 45 existed.
inline constexpr int kOlderResultsTableColumns = 42;
inline constexpr int kVerifiedResultsTableColumns = 43;
// The columns a row is scored from: date and time, surname, sex, age, answers.
inline constexpr int kResultsTableInputColumns = 5;

// Excel takes a file without it for the code page of the machine.
inline const QByteArray kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// One scored sheet, as a row of the table.
struct ResultsRow {
    QDateTime scoredAt;     // local time, to the second
    QString surname;        // as typed
    QString sexText;        // "Мужской" or "Женский"
    int age = 16;
    KeyedOptions options;   // the letters keyed, statement 187's included
    RawScores raw{};
    Stens stens{};
    SecondOrder secondOrder{};
    QString reportFileName; // as written, without the directory; empty when not written
    QString verification;   // column 43: empty, kVerified or verifiedWithCorrections(N)
    QString entryMethod;    // column 44: empty when keyed, kOnScreen, kScanned or scannedAndChecked(N)
    QString minutes;        // column 45: an on-screen session's minutes; empty otherwise
};

// The last three columns, counted from 0 as a record's fields are, and their headers. The
// batch copies them through only from a column under that header.
inline constexpr int kVerificationColumn = kOlderResultsTableColumns;
inline constexpr int kEntryMethodColumn = kVerifiedResultsTableColumns;
inline constexpr int kMinutesColumn = kEntryMethodColumn + 1;
static_assert(kMinutesColumn + 1 == kResultsTableColumns);
inline const QString kReportHeader = QStringLiteral("Отчёт"); // column 42
inline const QString kVerificationHeader = QStringLiteral("Проверка");
inline const QString kEntryMethodHeader = QStringLiteral("Способ ввода");
inline const QString kMinutesHeader = QStringLiteral("Время, мин");

// Column 43 of a sheet keyed a second time to check the first keying.
inline const QString kVerified = QStringLiteral("проверен");
QString verifiedWithCorrections(int corrections);

// Column 44: how the sheet came in. Empty for a paper sheet keyed by hand (every row of the
// tables written before the column existed), kOnScreen for a respondent who answered on the
// screen, kScanned for a scanned sheet taken as read, scannedAndChecked(N) for one whose N
// answers the operator looked at.
inline const QString kOnScreen = QStringLiteral("экран");
inline const QString kScanned = QStringLiteral("скан");
QString scannedAndChecked(int checkedAnswers);
// Column 45 for an on-screen session of `minutes` whole minutes.
QString sessionMinutes(int minutes);

// Column 1: local time as yyyy-MM-ddTHH:mm:ss, the same in every locale.
QString tableDateTime(const QDateTime &dateTime);
// The reverse, held as UTC so that no time-zone rule moves it: the wall-clock time as
// written, also one a daylight-saving change skipped, and no look at the system's time
// zone for each of a batch's rows. An invalid QDateTime for any other text.
QDateTime parseTableDateTime(const QString &text);

// Column 5's letter for option 1, 2, 3.
char optionLetter(int option);

// The header line, with its CR LF and without the byte-order mark.
QByteArray resultsTableHeader();
// The header of a table of the first `columns` columns: kOlderResultsTableColumns or
// kVerifiedResultsTableColumns for the tables earlier versions wrote.
QByteArray resultsTableHeader(int columns);
// The header of the tables written before column 43.
QByteArray olderResultsTableHeader();

// One row, CR LF ended: fields separated by ';', a field holding ';', ',', '"', CR or LF
// quoted with its '"' doubled. F1..F4 are written as the report writes them, but always
// with a decimal comma: the table is a data file, read the same on every machine.
// A text field a spreadsheet would take for a formula is marked (see formulaSafeText).
QByteArray resultsTableRow(const ResultsRow &row);

// Spreadsheets evaluate a field starting with '=', '+', '-' or '@' as a formula (and one
// starting with a tab or CR after trimming it), so a surname could become a live link.
// Such a text gets a leading apostrophe, which shows it as text, and so does a text that
// starts with an apostrophe; textOfTableField takes one mark off again when the table is
// read back, so every text comes back as typed.
QString formulaSafeText(const QString &text);
// A field as the table writes it: quoted, its '"' doubled, when it holds ';', ',', '"',
// CR or LF. Other tables of the program (the scans' table) write their fields so too.
QByteArray quotedTableField(const QString &text);
QString textOfTableField(const QString &field);

// Why rows could not be appended; kind None when they were.
struct TableFailure {
    enum class Kind {
        None,
        Foreign,      // a file of that name whose first line is not our header
        NotAFile,     // a link, a folder or a device under that name
        Busy,         // another copy of the program holds the lock too long
        LockRefused,  // the lock file cannot be made in that folder
        LockNotAFile, // a folder, a link or a device stands where the lock file goes
        Io,           // opening, writing or syncing failed; `error` holds errno
    };
    Kind kind = Kind::None;
    int error = 0;
    // Not a failure: the table's last line had no line end (a writer was stopped while
    // writing, or the file was edited by hand) and was ended before anything was
    // appended. Its 1-based line; 0 when the table ended whole.
    int tornLine = 0;
    // Not a failure either: a table of an earlier, narrower format that could not be
    // upgraded keeping its owner, group and permission bits, or could not be replaced at
    // all (append-only), took the rows cut to its own width, this many columns; 0 when
    // the table has today's format.
    int olderColumnsKept = 0;
    // What was found at the lock file's place, in Russian: for LockNotAFile what stands
    // there, for Busy who holds the lock when the lock file says so.
    QString lockDetail;

    bool failed() const { return kind != Kind::None; }
};

// The table held for appending: its lock taken and kept until the object goes, the file
// opened, checked and started. A batch holds it over a whole group, so that the lock file
// and the room for the group's rows exist before the group's reports take the disk.
// How long a writer waits for a lock another copy holds: long enough for a copy that
// syncs on a busy disk (hundreds of milliseconds have been seen), short enough that the
// operator is not left waiting.
inline constexpr int kLockWaitMilliseconds = 10'000;

class HeldResultsTable
{
public:
    // Waits at most `lockWaitMilliseconds` for a lock another copy holds.
    explicit HeldResultsTable(const QString &path, int lockWaitMilliseconds = kLockWaitMilliseconds);
    ~HeldResultsTable();
    HeldResultsTable(const HeldResultsTable &) = delete;
    HeldResultsTable &operator=(const HeldResultsTable &) = delete;

    // Takes the lock and opens the table; a new file gets the byte-order mark and the
    // header, a torn last line is ended (told in the result's tornLine).
    TableFailure open();
    // Sets aside room for `bytes` more, so that appending them cannot meet a full disk
    // or the file-size limit.
    TableFailure reserve(qint64 bytes);
    TableFailure append(const QByteArray &rows);

private:
    struct Held;
    std::unique_ptr<Held> m_held;
};

// Appends `rows` (whole rows, possibly none) to the table at `path` in one write and
// syncs it, holding a lock beside it so that copies of the program finishing at once
// neither interleave nor both start the file. A new file starts with the byte-order mark
// and the header. An existing file is only ever appended to, and only when it starts with
// our header; a torn last line is ended first, so that the damage stays in its own line;
// a failed write is cut back off, so the table never ends in half a row. A table of an
// older format (42 or 43 columns) is first upgraded whole, under the same lock, by an
// atomic replacement that keeps its owner, group and permission bits: either every row
// gains its empty columns or none does. Where that replacement is not allowed, the table
// keeps its format and the rows are cut to its width (told in olderColumnsKept).
TableFailure appendToResultsTable(const QString &path, const QByteArray &rows);
// The same, waiting at most `lockWaitMilliseconds` for a lock another copy holds (kind
// Busy when it is still held): the window tries briefly and lets the operator try again.
TableFailure appendToResultsTable(const QString &path, const QByteArray &rows,
                                  int lockWaitMilliseconds);

// The same on a table already open for reading and appending, with the lock held: a test
// stands a failing file in for a broken disk here.
TableFailure appendToOpenTable(QFileDevice &table, const QByteArray &rows);

// What a platform error (errno) means for a file being written, in plain Russian.
QString plainErrorText(int platformError);

// The failure in plain Russian, naming the file.
QString tableFailureText(const TableFailure &failure, const QString &path);

// That a torn last line was ended, naming the file and the line.
QString tornLineText(int line, const QString &path);

// That an older table kept its format and the rows lost their last columns, and how to
// upgrade it.
QString olderTableKeptText(int columns, const QString &path);

} // namespace zorven
