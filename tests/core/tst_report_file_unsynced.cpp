// The report writer as batch scoring uses it, leaving the sync to the caller: the same
// replacement and the same refusals as the synced writer, and nothing left behind.

#include "results/io_error.h"
#include "results/report_file.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using namespace zorven;

namespace {

const QByteArray kEarlier = "Earlier report\r\n";
const QByteArray kNew = "New report\r\nsecond line\r\n";

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

class TestReportFileUnsynced : public QObject
{
    Q_OBJECT

private slots:
    void writesLikeTheSyncedWriter_data();
    void writesLikeTheSyncedWriter();
};

void TestReportFileUnsynced::writesLikeTheSyncedWriter_data()
{
    QTest::addColumn<QString>("before"); // what stands at the report's name
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new name") << "nothing" << 0 << kNew;
    QTest::newRow("earlier report") << "report" << 0 << kNew;
    QTest::newRow("read-only earlier report") << "read-only" << kFileAccessDenied << kEarlier;
    // The link stays, and what it points at keeps its bytes.
    QTest::newRow("link to another file") << "link" << kFileAccessDenied << kEarlier;
    QTest::newRow("missing folder") << "no folder" << kFileNotFound << QByteArray();
}

void TestReportFileUnsynced::writesLikeTheSyncedWriter()
{
    QFETCH(QString, before);
    QFETCH(int, code);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    QString path = dir.filePath(QStringLiteral("Иванов.txt"));
    const QString linked = elsewhere.filePath(QStringLiteral("other.txt"));
    if (before == "report" || before == "read-only")
        QVERIFY(putFile(path, kEarlier));
    if (before == "read-only")
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    if (before == "link") {
        QVERIFY(putFile(linked, kEarlier));
        QVERIFY(QFile::link(linked, path));
    }
    if (before == "no folder")
        path = dir.filePath(QStringLiteral("missing/Иванов.txt"));

    QCOMPARE(writeReport(path, kNew, ReportSync::LeftToCaller), code);

    QMap<QString, QByteArray> expected;
    if (before != "no folder")
        expected.insert(QStringLiteral("Иванов.txt"), after);
    QCOMPARE(filesIn(dir.path()), expected);
    if (before == "link")
        QCOMPARE(filesIn(elsewhere.path()), (QMap<QString, QByteArray>{{"other.txt", kEarlier}}));
}

QTEST_GUILESS_MAIN(TestReportFileUnsynced)
#include "tst_report_file_unsynced.moc"
