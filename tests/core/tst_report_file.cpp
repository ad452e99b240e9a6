// Writing the report file: replacing an earlier report, every refusal and a failing disk
// with nothing lost, the batch's unsynced writer beside the synced one, and the error
// report's texts.

#include "results/io_error.h"
#include "results/report_file.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>

using namespace zorven;

Q_DECLARE_METATYPE(zorven::ReportSync)

namespace {

const QByteArray kEarlierReport = "Earlier report\r\n";
const QByteArray kNewReport = "New report\r\nsecond line\r\n";

// A disk that takes `capacity` bytes and then fails every write with `platformError`.
// When a write would overflow it, the part that fits is taken and the count comes back
// short with errno cleared, as QFileDevice does when the disk fills inside one write.
class FailingDisk : public QSaveFile
{
public:
    FailingDisk(const QString &path, qint64 capacity, int platformError)
        : QSaveFile(path), m_capacity(capacity), m_platformError(platformError)
    {
    }

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        const qint64 room = m_capacity - m_taken;
        if (room <= 0) {
            errno = m_platformError;
            return -1;
        }
        const qint64 count = QSaveFile::writeData(data, qMin(length, room));
        m_taken += count;
        errno = 0;
        return count;
    }

private:
    qint64 m_capacity;
    int m_platformError;
    qint64 m_taken = 0;
};

// Every file of the directory with its bytes, so that a test sees anything left behind.
QMap<QString, QByteArray> filesIn(const QString &path)
{
    QMap<QString, QByteArray> files;
    const QDir dir(path);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile file(dir.filePath(name));
        files.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>"));
    }
    return files;
}

bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestReportFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void writesNewReport();
    void replacesEarlierReport();
    void refusedWithNothingLost_data();
    void refusedWithNothingLost();
    void failingDiskLosesNothing_data();
    void failingDiskLosesNothing();
    void foreignEntryNeverWrittenThrough_data();
    void foreignEntryNeverWrittenThrough();
    void unsyncedWriterWritesLikeTheSyncedOne_data();
    void unsyncedWriterWritesLikeTheSyncedOne();
    void newReportNeverTakesAnotherPlace_data();
    void newReportNeverTakesAnotherPlace();

    void errorCodeOfPlatformError_data();
    void errorCodeOfPlatformError();
    void errorReportText_data();
    void errorReportText();
    void closingFullStop_data();
    void closingFullStop();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_earlier;
};

void TestReportFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_earlier = m_dir->filePath(QStringLiteral("Report.txt"));
    QVERIFY(putFile(m_earlier, kEarlierReport));
}

void TestReportFile::writesNewReport()
{
    const QString path = m_dir->filePath(QStringLiteral("Иванов И.И..txt"));
    QCOMPARE(writeReport(path, kNewReport), 0);
    QCOMPARE(filesIn(m_dir->path()).value(QStringLiteral("Иванов И.И..txt")), kNewReport);
    QCOMPARE(filesIn(m_dir->path()).size(), 2);
}

void TestReportFile::replacesEarlierReport()
{
    QCOMPARE(writeReport(m_earlier, kNewReport), 0);
    const QMap<QString, QByteArray> expected{{QStringLiteral("Report.txt"), kNewReport}};
    QCOMPARE(filesIn(m_dir->path()), expected);
}

void TestReportFile::refusedWithNothingLost_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<int>("code");

    QTest::newRow("read-only earlier report") << QStringLiteral("Protected.txt") << kFileAccessDenied;
    QTest::newRow("a directory in the file's place") << QStringLiteral("Folder") << kFileAccessDenied;
    QTest::newRow("missing directory") << QStringLiteral("Missing/Report.txt") << kFileNotFound;
    QTest::newRow("a file in a directory's place") << QStringLiteral("Report.txt/Report.txt")
                                                   << kInvalidFilename;
    QTest::newRow("name over the file system's 255 bytes")
        << QString(252, u'x') + QStringLiteral(".txt") << kInvalidFilename;
    QTest::newRow("176 Cyrillic characters take 360 bytes")
        << QString(176, u'Ж') + QStringLiteral(".txt") << kInvalidFilename;
}

void TestReportFile::refusedWithNothingLost()
{
    QFETCH(QString, relativePath);
    QFETCH(int, code);

    const QString protectedReport = m_dir->filePath(QStringLiteral("Protected.txt"));
    QVERIFY(putFile(protectedReport, kEarlierReport));
    QVERIFY(QFile::setPermissions(protectedReport, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Folder")));
    const QMap<QString, QByteArray> before = filesIn(m_dir->path());

    QCOMPARE(writeReport(m_dir->filePath(relativePath), kNewReport), code);
    QCOMPARE(filesIn(m_dir->path()), before);
    QVERIFY(QDir(m_dir->filePath(QStringLiteral("Folder"))).isEmpty());
}

void TestReportFile::failingDiskLosesNothing_data()
{
    QTest::addColumn<qint64>("capacity");
    QTest::addColumn<int>("platformError");
    QTest::addColumn<int>("code");

    QTest::newRow("full before the first byte") << qint64(0) << ENOSPC << ENOSPC;
    QTest::newRow("fills part-way through the report") << qint64(7) << ENOSPC << ENOSPC;
    QTest::newRow("takes all but the last byte") << kNewReport.size() - 1 << EDQUOT << EDQUOT;
    QTest::newRow("refuses with a mapped error") << qint64(3) << EROFS << kFileAccessDenied;
    // Qt sometimes fails without saying why; it is still a failure, read as EIO.
    QTest::newRow("fails giving no reason") << qint64(0) << 0 << ioErrorCode(EIO);
}

void TestReportFile::failingDiskLosesNothing()
{
    QFETCH(qint64, capacity);
    QFETCH(int, platformError);
    QFETCH(int, code);

    const QMap<QString, QByteArray> before = filesIn(m_dir->path());
    const auto failingDisk = [&](const QString &path) {
        return std::make_unique<FailingDisk>(path, capacity, platformError);
    };
    QCOMPARE(writeReport(m_earlier, kNewReport, failingDisk), code);
    QCOMPARE(filesIn(m_dir->path()), before);
}

// What another user can plant at the report's path in a shared folder.
void TestReportFile::foreignEntryNeverWrittenThrough_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("symlink to a file elsewhere") << QStringLiteral("link to file");
    QTest::newRow("dangling symlink") << QStringLiteral("dangling link");
    QTest::newRow("symlink to a directory") << QStringLiteral("link to directory");
    QTest::newRow("FIFO") << QStringLiteral("fifo");
}

void TestReportFile::foreignEntryNeverWrittenThrough()
{
    QFETCH(QString, kind);
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const QString victim = elsewhere.filePath(QStringLiteral("victim.txt"));
    const QString path = m_dir->filePath(QStringLiteral("Planted.txt"));
    if (kind == QLatin1String("link to file")) {
        QVERIFY(putFile(victim, kEarlierReport));
        QVERIFY(QFile::link(victim, path));
    } else if (kind == QLatin1String("dangling link")) {
        QVERIFY(QFile::link(victim, path));
    } else if (kind == QLatin1String("link to directory")) {
        QVERIFY(QFile::link(elsewhere.path(), path));
    } else {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    }
    const QMap<QString, QByteArray> elsewhereBefore = filesIn(elsewhere.path());

    QCOMPARE(writeReport(path, kNewReport), kFileAccessDenied);
    QCOMPARE(filesIn(elsewhere.path()), elsewhereBefore);
    const QFileInfo planted(path);
    QVERIFY(planted.isSymLink() || (!planted.isFile() && planted.exists()));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size(), 2);
}

// The batch's writer, which leaves syncing to its caller, refuses and replaces as the
// window's does.
void TestReportFile::unsyncedWriterWritesLikeTheSyncedOne_data()
{
    QTest::addColumn<QString>("before"); // what stands at the report's name
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new name") << "nothing" << 0 << kNewReport;
    QTest::newRow("earlier report") << "report" << 0 << kNewReport;
    QTest::newRow("read-only earlier report") << "read-only" << kFileAccessDenied << kEarlierReport;
    // The link stays, and what it points at keeps its bytes.
    QTest::newRow("link to another file") << "link" << kFileAccessDenied << kEarlierReport;
    QTest::newRow("missing folder") << "no folder" << kFileNotFound << QByteArray();
}

void TestReportFile::unsyncedWriterWritesLikeTheSyncedOne()
{
    QFETCH(QString, before);
    QFETCH(int, code);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    QString path = dir.filePath(QStringLiteral("Иванов.txt"));
    const QString linked = elsewhere.filePath(QStringLiteral("other.txt"));
    if (before == "report" || before == "read-only")
        QVERIFY(putFile(path, kEarlierReport));
    if (before == "read-only")
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    if (before == "link") {
        QVERIFY(putFile(linked, kEarlierReport));
        QVERIFY(QFile::link(linked, path));
    }
    if (before == "no folder")
        path = dir.filePath(QStringLiteral("missing/Иванов.txt"));

    QCOMPARE(writeReport(path, kNewReport, ReportSync::LeftToCaller), code);

    QMap<QString, QByteArray> expected;
    if (before != "no folder")
        expected.insert(QStringLiteral("Иванов.txt"), after);
    QCOMPARE(filesIn(dir.path()), expected);
    if (before == "link")
        QCOMPARE(filesIn(elsewhere.path()), (QMap<QString, QByteArray>{{"other.txt", kEarlierReport}}));
}

void TestReportFile::newReportNeverTakesAnotherPlace_data()
{
    QTest::addColumn<ReportSync>("sync");
    QTest::addColumn<QString>("before"); // what another writer put at the report's name
    QTest::addColumn<int>("code");

    for (const ReportSync sync : {ReportSync::EachReport, ReportSync::LeftToCaller}) {
        const char *const writer = sync == ReportSync::EachReport ? "window: " : "batch: ";
        QTest::addRow("%snew name", writer) << sync << "nothing" << 0;
        QTest::addRow("%sanother's report", writer) << sync << "report" << kReportNameTaken;
        QTest::addRow("%sdangling link", writer) << sync << "link" << kReportNameTaken;
    }
}

// A new report is made exclusively: whatever another writer put at its name since the
// name was chosen stays as it was, and nothing else is left in the folder.
void TestReportFile::newReportNeverTakesAnotherPlace()
{
    QFETCH(ReportSync, sync);
    QFETCH(QString, before);
    QFETCH(int, code);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Иванов.txt"));
    if (before == "report")
        QVERIFY(putFile(path, kEarlierReport));
    if (before == "link")
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("missing.txt")), path));

    QCOMPARE(writeReport(path, kNewReport, sync, ExistingReport::Keep), code);

    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden),
             QStringList{QStringLiteral("Иванов.txt")});
    if (before == "link")
        QCOMPARE(QFileInfo(path).symLinkTarget(), dir.filePath(QStringLiteral("missing.txt")));
    else
        QCOMPARE(filesIn(dir.path()).value(QStringLiteral("Иванов.txt")),
                 before == "report" ? kEarlierReport : kNewReport);
}

void TestReportFile::errorCodeOfPlatformError_data()
{
    QTest::addColumn<int>("platformError");
    QTest::addColumn<int>("code");

    QTest::newRow("no such file or directory") << ENOENT << kFileNotFound;
    QTest::newRow("name too long") << ENAMETOOLONG << kInvalidFilename;
    QTest::newRow("invalid argument") << EINVAL << kInvalidFilename;
    QTest::newRow("not a directory") << ENOTDIR << kInvalidFilename;
    QTest::newRow("too many files of the process") << EMFILE << kTooManyOpenFiles;
    QTest::newRow("too many files of the system") << ENFILE << kTooManyOpenFiles;
    QTest::newRow("permission denied") << EACCES << kFileAccessDenied;
    QTest::newRow("operation not permitted") << EPERM << kFileAccessDenied;
    QTest::newRow("read-only file system") << EROFS << kFileAccessDenied;
    QTest::newRow("is a directory") << EISDIR << kFileAccessDenied;
    QTest::newRow("full disk keeps its own code") << ENOSPC << 28;
    QTest::newRow("file too large keeps its own code") << EFBIG << 27;
    QTest::newRow("quota keeps its own code") << EDQUOT << 122;
}

void TestReportFile::errorCodeOfPlatformError()
{
    QFETCH(int, platformError);
    QFETCH(int, code);
    QCOMPARE(ioErrorCode(platformError), code);
}

void TestReportFile::errorReportText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");

    QTest::newRow("2") << 2 << QStringLiteral("File not found.");
    QTest::newRow("3") << 3 << QStringLiteral("Invalid filename.");
    QTest::newRow("4") << 4 << QStringLiteral("Too many open files.");
    QTest::newRow("5") << 5 << QStringLiteral("File access denied.");
    QTest::newRow("full disk") << 28 << QStringLiteral("I/O error 28.");
    QTest::newRow("three digits") << 122 << QStringLiteral("I/O error 122.");
}

void TestReportFile::errorReportText()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(withClosingFullStop(ioErrorText(code)), text);
}

void TestReportFile::closingFullStop_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("ends in a full stop") << QStringLiteral("Done.") << QStringLiteral("Done.");
    QTest::newRow("'!' sorts before '.'") << QStringLiteral("Stop!") << QStringLiteral("Stop!");
    QTest::newRow("'-' sorts before '.'") << QStringLiteral("a -") << QStringLiteral("a -");
    QTest::newRow("'/' sorts after '.'") << QStringLiteral("a/") << QStringLiteral("a/.");
    QTest::newRow("a digit") << QStringLiteral("error 7") << QStringLiteral("error 7.");
    QTest::newRow("Cyrillic") << QStringLiteral("Ошибка") << QStringLiteral("Ошибка.");
}

void TestReportFile::closingFullStop()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(withClosingFullStop(message), shown);
}

QTEST_GUILESS_MAIN(TestReportFile)
#include "tst_report_file.moc"
