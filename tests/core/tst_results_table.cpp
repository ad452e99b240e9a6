// The results table: a row and the header byte for byte, and appending to a table with
// nothing lost: a new file, our own table, a torn last line, a file that is not ours,
// whatever stands at the lock's place, a failing disk, and two copies of the program
// appending at once. Reading it back a piece at a time.

#include "results/results_table.h"
#include "results/table_records.h"
#include "test_files.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using namespace zorven;

namespace {

const QByteArray kByteOrderMark = "\xEF\xBB\xBF";
// The headers of the tables written before column 43 existed, before columns 44 and 45
// existed, and today's.
const QByteArray kOlderHeader =
    "Дата;Фамилия;Пол;Возраст;Ответы;"
    "Балл A;Балл B;Балл C;Балл E;Балл F;Балл G;Балл H;Балл I;"
    "Балл L;Балл M;Балл N;Балл O;Балл Q1;Балл Q2;Балл Q3;Балл Q4;"
    "Стен A;Стен B;Стен C;Стен E;Стен F;Стен G;Стен H;Стен I;"
    "Стен L;Стен M;Стен N;Стен O;Стен Q1;Стен Q2;Стен Q3;Стен Q4;"
    "F1;F2;F3;F4;Отчёт\r\n";
const QByteArray kVerifiedHeader = kOlderHeader.chopped(2) + ";Проверка\r\n";
const QByteArray kHeader = kVerifiedHeader.chopped(2) + ";Способ ввода;\"Время, мин\"\r\n";

// Option b, c, a by turns from statement 1.
const QByteArray kLetters = QByteArray("bca").repeated(62) + "b";

// What the sample row holds after its surname.
const QByteArray kRowAfterSurname = ";Женский;20;" + kLetters
    + ";1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16"
      ";1;2;3;4;5;6;7;8;9;10;1;2;3;4;5;6"
      ";\"5,4\";\"-1,7\";10;0;report.txt;;;\r\n";

constexpr const char *kWriterArgument = "--append-rows";
constexpr int kRowsPerWriter = 40;
// Far longer than a writer needs for all its rows when nothing holds the lock.
constexpr int kLockHeldMilliseconds = 1000;

ResultsRow sampleRow(const QString &surname)
{
    ResultsRow row;
    row.scoredAt = QDateTime(QDate(2026, 12, 8), QTime(9, 5, 7));
    row.surname = surname;
    row.sexText = QStringLiteral("Женский");
    row.age = 20;
    for (int q = 1; q <= kStatementCount; ++q)
        row.options.set(q, q % 3 + 1);
    for (int k = 0; k < kFactorCount; ++k) {
        row.raw[k] = static_cast<std::uint8_t>(k + 1);
        row.stens[k] = static_cast<std::uint8_t>(k % 10 + 1);
    }
    row.secondOrder = {5.4, -1.7, 10.0, 0.0};
    row.reportFileName = QStringLiteral("report.txt");
    return row;
}

QByteArray sampleRowBytes(const QString &surname)
{
    return resultsTableRow(sampleRow(surname));
}

bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A disk that takes the first `capacity` bytes of a write and then fails with ENOSPC.
class FullDisk : public QFile
{
public:
    FullDisk(const QString &path, qint64 capacity) : QFile(path), m_capacity(capacity) {}

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        if (length <= m_capacity)
            return QFile::writeData(data, length);
        QFile::writeData(data, m_capacity);
        errno = ENOSPC;
        return -1;
    }

private:
    qint64 m_capacity;
};

// One copy of the program: appends its rows one by one, as many windows finishing would.
int appendRowsAsWriter(const QString &path, const QString &writer)
{
    for (int i = 0; i < kRowsPerWriter; ++i) {
        const TableFailure failure = appendToResultsTable(path, sampleRowBytes(writer + QString::number(i)));
        if (failure.failed()) {
            fprintf(stderr, "%s\n", qPrintable(tableFailureText(failure, path)));
            return 1;
        }
    }
    return 0;
}

} // namespace

class TestResultsTable : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void rowQuotesWhatWouldSplitIt_data();
    void rowQuotesWhatWouldSplitIt();
    void appendsAfterWhatIsThere_data();
    void appendsAfterWhatIsThere();
    void tornLastLineIsEndedFirst_data();
    void tornLastLineIsEndedFirst();
    void neverWritesWhatIsNotOurTable_data();
    void neverWritesWhatIsNotOurTable();
    void lockPlaceTakenOrNamed_data();
    void lockPlaceTakenOrNamed();
    void streamReadsAsWholeText();
    void overlongRecordIsCutOffAndReadingGoesOn_data();
    void overlongRecordIsCutOffAndReadingGoesOn();
    void failedWriteIsCutBackAndNamed();
    void olderTableGainsAnEmptyColumnOnce_data();
    void olderTableGainsAnEmptyColumnOnce();
    void upgradeKeepsOwnerGroupAndMode();
    void tableThatCannotBeReplacedKeepsItsFormat_data();
    void tableThatCannotBeReplacedKeepsItsFormat();
    void twoWritersNeitherInterleaveNorStartTwice();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_table;
};

void TestResultsTable::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_table = m_dir->filePath(kResultsTableFileName);
}

void TestResultsTable::rowQuotesWhatWouldSplitIt_data()
{
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QByteArray>("field");

    QTest::newRow("plain") << QStringLiteral("Петрова А.В.") << QByteArray("Петрова А.В.");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow(";") << QStringLiteral("Иванова;Петрова") << QByteArray("\"Иванова;Петрова\"");
    QTest::newRow("\"") << QStringLiteral("О\"Нил \"мл.\"") << QByteArray("\"О\"\"Нил \"\"мл.\"\"\"");
    QTest::newRow(",") << QStringLiteral("Иванов, Пётр") << QByteArray("\"Иванов, Пётр\"");
    QTest::newRow("CR LF") << QStringLiteral("две\r\nстроки") << QByteArray("\"две\r\nстроки\"");
    QTest::newRow("LF") << QStringLiteral("a\nb") << QByteArray("\"a\nb\"");
    QTest::newRow("=") << QStringLiteral("=1+2") << QByteArray("'=1+2");
    QTest::newRow("+") << QStringLiteral("+7") << QByteArray("'+7");
    QTest::newRow("-") << QStringLiteral("-Петров") << QByteArray("'-Петров");
    QTest::newRow("@") << QStringLiteral("@SUM(1)") << QByteArray("'@SUM(1)");
    QTest::newRow("tab") << QStringLiteral("\tx") << QByteArray("'\tx");
    QTest::newRow("= and ;") << QStringLiteral("=HYPERLINK(\"h\";\"O\")")
                             << QByteArray("\"'=HYPERLINK(\"\"h\"\";\"\"O\"\")\"");
    QTest::newRow("inner =") << QStringLiteral("Ли=Ан") << QByteArray("Ли=Ан");
    QTest::newRow("' and =") << QStringLiteral("'=x") << QByteArray("''=x");
    QTest::newRow("'") << QStringLiteral("'Нил") << QByteArray("''Нил");
}

// Run in the C locale: F1..F4 keep their decimal comma whatever the machine's settings.
// A formula-like surname is marked in the table, and reads back as typed.
void TestResultsTable::rowQuotesWhatWouldSplitIt()
{
    QFETCH(QString, surname);
    QFETCH(QByteArray, field);
    QCOMPARE(sampleRowBytes(surname), "2026-12-08T09:05:07;" + field + kRowAfterSurname);
    QCOMPARE(resultsTableHeader(), kHeader);
    QCOMPARE(textOfTableField(tableRecords(QString::fromUtf8(sampleRowBytes(surname))).front().fields[1]),
             surname);
}

void TestResultsTable::appendsAfterWhatIsThere_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("before");

    QTest::newRow("no file") << false << QByteArray();
    QTest::newRow("empty file") << true << QByteArray();
    QTest::newRow("our table") << true << kByteOrderMark + kHeader + sampleRowBytes("Первый");
    QTest::newRow("our header only") << true << kByteOrderMark + kHeader;
}

// A new table starts with the byte-order mark and the header; an existing one gets
// neither again, and keeps every byte it had.
void TestResultsTable::appendsAfterWhatIsThere()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, before);
    if (exists)
        QVERIFY(putFile(m_table, before));
    const QByteArray start = before.isEmpty() ? kByteOrderMark + kHeader : before;

    QVERIFY(!appendToResultsTable(m_table, sampleRowBytes("Второй")).failed());
    QVERIFY(!appendToResultsTable(m_table, sampleRowBytes("Третий")).failed());

    QCOMPARE(fileBytes(m_table), start + sampleRowBytes("Второй") + sampleRowBytes("Третий"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{kResultsTableFileName});
}

void TestResultsTable::tornLastLineIsEndedFirst_data()
{
    QTest::addColumn<QByteArray>("torn");
    QTest::addColumn<QByteArray>("ending");

    QTest::newRow("cut in a plain field") << QByteArray("2026-12-08T09:05:07;Пет") << QByteArray("\r\n");
    QTest::newRow("cut in a quoted field")
        << QByteArray("2026-12-08T09:05:07;\"Иванова;\r\nПе") << QByteArray("\"\r\n");
    QTest::newRow("cut before LF") << sampleRowBytes("Первый").chopped(1) << QByteArray("\n");
}

// A writer stopped part-way, or a hand edit, leaves a last line without its line end: it
// is ended, so the new row stands on a line of its own and every other row still reads.
void TestResultsTable::tornLastLineIsEndedFirst()
{
    QFETCH(QByteArray, torn);
    QFETCH(QByteArray, ending);
    const QByteArray before = kByteOrderMark + kHeader + sampleRowBytes("Первый") + torn;
    QVERIFY(putFile(m_table, before));

    const TableFailure result = appendToResultsTable(m_table, sampleRowBytes("Второй"));

    QVERIFY(!result.failed());
    QCOMPARE(result.tornLine, 3);
    QCOMPARE(fileBytes(m_table), before + ending + sampleRowBytes("Второй"));
    QCOMPARE(appendToResultsTable(m_table, sampleRowBytes("Третий")).tornLine, 0);
}

void TestResultsTable::neverWritesWhatIsNotOurTable_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TableFailure::Kind>("failure");

    const auto foreign = TableFailure::Kind::Foreign;
    QTest::newRow("another table") << "file" << QByteArray("Имя;Возраст\r\nИванов;30\r\n") << foreign;
    QTest::newRow("header without the mark") << "file" << kHeader << foreign;
    QTest::newRow("header cut short") << "file" << kByteOrderMark + kHeader.left(30) << foreign;
    QTest::newRow("one byte") << "file" << QByteArray("x") << foreign;
    QTest::newRow("link to our table")
        << "link" << kByteOrderMark + kHeader << TableFailure::Kind::NotAFile;
    QTest::newRow("link to an older table")
        << "link" << kByteOrderMark + kOlderHeader << TableFailure::Kind::NotAFile;
    QTest::newRow("folder") << "folder" << QByteArray() << TableFailure::Kind::NotAFile;
}

void TestResultsTable::neverWritesWhatIsNotOurTable()
{
    QFETCH(QString, entry);
    QFETCH(QByteArray, bytes);
    QFETCH(TableFailure::Kind, failure);
    const QString target = m_dir->filePath(QStringLiteral("elsewhere.csv"));
    if (entry == "folder")
        QVERIFY(QDir().mkdir(m_table));
    else
        QVERIFY(putFile(entry == "link" ? target : m_table, bytes));
    if (entry == "link")
        QVERIFY(QFile::link(target, m_table));

    QCOMPARE(appendToResultsTable(m_table, sampleRowBytes("Иванов")).kind, failure);

    if (entry != "folder")
        QCOMPARE(fileBytes(m_table), bytes);
}

void TestResultsTable::lockPlaceTakenOrNamed_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("reason");

    QTest::newRow("empty file left by a stopped writer") << "empty" << QString();
    QTest::newRow("folder") << "folder" << QStringLiteral("находится папка");
    QTest::newRow("link") << "link" << QStringLiteral("находится ссылка");
}

// An empty lock file a stopped writer left is taken over (QLockFile alone would wait for
// it to be half a minute old); a folder or a link there is named at once, instead of
// blaming another copy of the program after a wait.
void TestResultsTable::lockPlaceTakenOrNamed()
{
    QFETCH(QString, entry);
    QFETCH(QString, reason);
    const QString lockPath = m_table + QStringLiteral(".lock");
    if (entry == "empty") {
        QVERIFY(putFile(lockPath, {}));
        QFile lock(lockPath);
        QVERIFY(lock.open(QIODevice::ReadWrite));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-10), QFileDevice::FileModificationTime));
    } else if (entry == "folder") {
        QVERIFY(QDir().mkdir(lockPath));
    } else {
        QVERIFY(QFile::link(m_dir->filePath("elsewhere"), lockPath));
    }

    const TableFailure failure = appendToResultsTable(m_table, sampleRowBytes("Иванов"));

    if (reason.isEmpty()) {
        QVERIFY(!failure.failed());
        QCOMPARE(fileBytes(m_table), kByteOrderMark + kHeader + sampleRowBytes("Иванов"));
        QVERIFY(!QFileInfo::exists(lockPath));
    } else {
        QCOMPARE(failure.kind, TableFailure::Kind::LockNotAFile);
        QVERIFY2(tableFailureText(failure, m_table).contains(reason), qPrintable(tableFailureText(failure, m_table)));
        QVERIFY(!QFileInfo::exists(m_table));
    }
}

// Read in pieces of every size from one byte up, a table gives the records it gives read
// whole: quotes, doubled quotes, each kind of line end and two-byte letters may all be
// cut between two pieces.
void TestResultsTable::streamReadsAsWholeText()
{
    const QByteArray bytes = kByteOrderMark + "Дата;Ф\r\"a;\"\"b\"\"\r\nc\rd\";x\r\r\n\n1;\"Ё\"\"\"\n2;\"\"\r3;\"end";
    const QList<TableRecord> whole = tableRecords(QString::fromUtf8(bytes.mid(kByteOrderMark.size())));
    QCOMPARE(whole.size(), 5);
    for (qint64 piece = 1; piece <= bytes.size(); ++piece) {
        QBuffer buffer;
        buffer.setData(bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        TableRecordStream stream(buffer, piece);
        QList<TableRecord> read = stream.next(2);
        read += stream.next(100);
        QCOMPARE(read.size(), whole.size());
        for (qsizetype i = 0; i < whole.size(); ++i) {
            QCOMPARE(read[i].line, whole[i].line);
            QCOMPARE(read[i].fields, whole[i].fields);
            QCOMPARE(read[i].unclosedQuote, whole[i].unclosedQuote);
        }
        QVERIFY(!stream.notUtf8());
    }
    QCOMPARE(whole.back().line, 9);
    QCOMPARE(whole[1].fields, QStringList({"a;\"b\"\r\nc\rd", "x"}));
}

void TestResultsTable::overlongRecordIsCutOffAndReadingGoesOn_data()
{
    QTest::addColumn<QByteArray>("overlong");

    const QByteArray huge(16 * kLongestTableRecord, 'x');
    QTest::newRow("quote left open") << "2;\"" + huge;
    QTest::newRow("long quoted field") << "2;\"" + huge + "\";x";
    QTest::newRow("long plain field") << "2;" + QByteArray(kLongestTableField + 1, 'x');
    QTest::newRow("many fields") << "2" + QByteArray(";x").repeated(kLongestTableRecord);
    // The rows the open quote ran into are read as rows again.
    QTest::newRow("quote left open before rows") << "2;\"p" + QByteArray("\r\n3;b").repeated(kLongestTableField);
}

// A device that remembers the largest read asked of it: what the stream holds at a time.
class ReadSizes : public QBuffer
{
public:
    qint64 largest = 0;

protected:
    qint64 readData(char *data, qint64 length) override
    {
        largest = std::max(largest, length);
        return QBuffer::readData(data, length);
    }
};

// A record past the limits is given cut off, at its line, and the records after that line's
// end are read as usual; the stream never asks for more than a few pieces at a time.
void TestResultsTable::overlongRecordIsCutOffAndReadingGoesOn()
{
    QFETCH(QByteArray, overlong);
    constexpr qint64 kPiece = 4096;
    ReadSizes device;
    device.setData("1;a\r\n" + overlong + "\r\n3;b\r\n4;c");
    QVERIFY(device.open(QIODevice::ReadOnly));
    TableRecordStream stream(device, kPiece);

    const QList<TableRecord> records = stream.next(2 * kLongestTableField);

    QVERIFY(records.size() >= 4);
    QVERIFY(records[1].overlong);
    QCOMPARE(records[1].line, 2);
    QCOMPARE(records[1].fields, QStringList());
    QCOMPARE(records[2].line, 3);
    QCOMPARE(records[2].fields, QStringList({"3", "b"}));
    QCOMPARE(records.back().fields, QStringList({"4", "c"}));
    QVERIFY2(device.largest <= 4 * (kPiece + kLongestTableRecord), qPrintable(QString::number(device.largest)));
}

void TestResultsTable::failedWriteIsCutBackAndNamed()
{
    const QByteArray before = kByteOrderMark + kHeader + sampleRowBytes("Первый");
    QVERIFY(putFile(m_table, before));
    FullDisk table(m_table, 40);
    QVERIFY(table.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered));

    const TableFailure failure = appendToOpenTable(table, sampleRowBytes("Второй"));
    table.close();

    QCOMPARE(failure.kind, TableFailure::Kind::Io);
    QCOMPARE(fileBytes(m_table), before);
    QCOMPARE(tableFailureText(failure, m_table),
             QStringLiteral("Строка результатов не добавлена в таблицу «%1»: на диске нет места.")
                 .arg(QDir::toNativeSeparators(m_table)));
}

// Two copies of the program appending into one folder at the same moment, while a third
// holds the lock: neither writes before it is free; then the table is started once, and
// every row of both arrives whole, each copy's rows in its order.
void TestResultsTable::olderTableGainsAnEmptyColumnOnce_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<QByteArray>("upgraded");

    const QByteArray row = sampleRowBytes("Первый").chopped(5); // without ";;;\r\n"
    QTest::newRow("header only") << kOlderHeader << QByteArray() << QByteArray();
    QTest::newRow("two rows") << kOlderHeader << row + "\r\n" + row + "\r\n"
                              << row + ";;;\r\n" + row + ";;;\r\n";
    QTest::newRow("LF line ends") << kOlderHeader << row + "\n" << row + ";;;\n";
    QTest::newRow("line break in quotes")
        << kOlderHeader << QByteArray("x;\"a\r\nb\";\"\"\"\r\n\"\r\n")
        << QByteArray("x;\"a\r\nb\";\"\"\"\r\n\";;;\r\n");
    QTest::newRow("empty line kept") << kOlderHeader << row + "\r\n\r\n" << row + ";;;\r\n\r\n";
    QTest::newRow("CR-only last row") << kOlderHeader << row + "\r" << row + ";;;\r\n";
    QTest::newRow("CR line ends") << kOlderHeader << row + "\r" + row + "\r"
                                  << row + ";;;\r" + row + ";;;\r\n";
    QTest::newRow("43 columns") << kVerifiedHeader << row + ";\"проверен, исправлено 1\"\r\n"
                                << row + ";\"проверен, исправлено 1\";;\r\n";
}

// Every row of an older table gains its missing columns, empty, once, and keeps every
// other byte; the new row follows.
void TestResultsTable::olderTableGainsAnEmptyColumnOnce()
{
    QFETCH(QByteArray, header);
    QFETCH(QByteArray, rows);
    QFETCH(QByteArray, upgraded);
    QVERIFY(putFile(m_table, kByteOrderMark + header + rows));

    QVERIFY(!appendToResultsTable(m_table, sampleRowBytes("Второй")).failed());
    QVERIFY(!appendToResultsTable(m_table, sampleRowBytes("Третий")).failed());

    QCOMPARE(fileBytes(m_table), kByteOrderMark + kHeader + upgraded + sampleRowBytes("Второй")
                                     + sampleRowBytes("Третий"));
}

// The upgraded table is the same file to its users: another user's table upgraded by root
// (as a test run by root shows), or the user's own with its permission bits.
void TestResultsTable::upgradeKeepsOwnerGroupAndMode()
{
    QVERIFY(putFile(m_table, kByteOrderMark + kOlderHeader));
    const QByteArray name = QFile::encodeName(m_table);
    const bool root = ::geteuid() == 0;
    const uid_t owner = root ? 2001 : ::geteuid();
    const gid_t group = root ? 3000 : ::getegid();
    QCOMPARE(::chown(name.constData(), owner, group), 0);
    QCOMPARE(::chmod(name.constData(), 0640), 0);

    const TableFailure failure = appendToResultsTable(m_table, sampleRowBytes("Второй"));

    QVERIFY(!failure.failed());
    QCOMPARE(failure.olderColumnsKept, 0);
    QCOMPARE(fileBytes(m_table), kByteOrderMark + kHeader + sampleRowBytes("Второй"));
    struct stat status {};
    QCOMPARE(::stat(name.constData(), &status), 0);
    QCOMPARE(status.st_uid, owner);
    QCOMPARE(status.st_gid, group);
    QCOMPARE(status.st_mode & 07777, mode_t(0640));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{kResultsTableFileName});
}

void TestResultsTable::tableThatCannotBeReplacedKeepsItsFormat_data()
{
    QTest::addColumn<bool>("appendOnly");

    QTest::newRow("another user's table") << false;
    QTest::newRow("append-only table") << true;
}

// A user who may write into another user's table cannot give its upgrade that owner, and
// nobody may replace an append-only file: every row still arrives, cut to the table's
// width, and the table stays as it was. Arranged as root; the other user is nobody.
void TestResultsTable::tableThatCannotBeReplacedKeepsItsFormat()
{
    QFETCH(bool, appendOnly);
    if (::geteuid() != 0)
        QSKIP("needs root to give the table to another user and to make it append-only");
    const QByteArray name = QFile::encodeName(m_table);
    const QByteArray olderRow = sampleRowBytes("Первый").chopped(5) + "\r\n";
    QVERIFY(putFile(m_table, kByteOrderMark + kOlderHeader + olderRow));
    QCOMPARE(::chown(name.constData(), 2001, 3000), 0);
    QCOMPARE(::chmod(name.constData(), 0666), 0);
    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::Permissions(0x7777)));
    QStringList writer = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                          QCoreApplication::applicationFilePath()};
    if (appendOnly) {
        writer = writer.mid(4);
        if (QProcess::execute("chattr", {"+a", m_table}) != 0)
            QSKIP("the file system has no append-only files");
    } else if (QProcess::execute(writer.front(), writer.mid(1, 3) << "test" << "-x" << writer.back()) != 0) {
        QSKIP("nobody cannot run the test program where it was built");
    }
    QProcess process;
    process.start(writer.front(), writer.mid(1) << kWriterArgument << m_table << "writer");
    QVERIFY(process.waitForFinished(60'000));
    if (appendOnly)
        QProcess::execute("chattr", {"-a", m_table});

    QCOMPARE(process.readAllStandardError(), QByteArray());
    QCOMPARE(process.exitCode(), 0);
    QByteArray expected = kByteOrderMark + kOlderHeader + olderRow;
    for (int i = 0; i < kRowsPerWriter; ++i)
        expected += sampleRowBytes("writer" + QString::number(i)).chopped(5) + "\r\n";
    QCOMPARE(fileBytes(m_table), expected);
    struct stat status {};
    QCOMPARE(::stat(name.constData(), &status), 0);
    QCOMPARE(status.st_uid, uid_t(2001));
    QCOMPARE(status.st_mode & 07777, mode_t(0666));
}

void TestResultsTable::twoWritersNeitherInterleaveNorStartTwice()
{
    QLockFile heldByAnother(m_table + QStringLiteral(".lock"));
    QVERIFY(heldByAnother.lock());
    QList<QProcess *> writers;
    for (const QString &name : {QStringLiteral("first"), QStringLiteral("second")}) {
        auto *writer = new QProcess(this);
        writer->start(QCoreApplication::applicationFilePath(), {kWriterArgument, m_table, name});
        writers << writer;
    }
    QVERIFY(!writers.front()->waitForFinished(kLockHeldMilliseconds));
    QVERIFY(!QFile::exists(m_table));
    heldByAnother.unlock();

    for (QProcess *writer : writers) {
        QVERIFY(writer->waitForFinished(60'000));
        QCOMPARE(writer->exitCode(), 0);
    }

    QByteArray table = fileBytes(m_table);
    QVERIFY(table.startsWith(kByteOrderMark + kHeader));
    table.remove(0, kByteOrderMark.size() + kHeader.size());
    QList<QByteArray> rowsOf[2];
    for (const QByteArray &line : table.split('\n')) {
        if (!line.isEmpty())
            rowsOf[line.contains(";first") ? 0 : 1] << line + '\n';
    }
    for (int writer = 0; writer < 2; ++writer) {
        const QString name = writer == 0 ? QStringLiteral("first") : QStringLiteral("second");
        QCOMPARE(rowsOf[writer].size(), kRowsPerWriter);
        for (int i = 0; i < kRowsPerWriter; ++i)
            QCOMPARE(rowsOf[writer][i], sampleRowBytes(name + QString::number(i)));
    }
}

// Started with kWriterArgument, the test program is one of the two writers.
int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], kWriterArgument) == 0)
        return appendRowsAsWriter(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestResultsTable test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_results_table.moc"
