// The journal of a session on the respondent's screen: what it keeps comes back as the
// screen left it, a line cut by a killed program is left out and never glued to the next,
// a journal that cannot be read says where, and one that another program works on is not
// taken from it.

#include "results/session_journal.h"
#include "test_files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

const zorven::SessionRespondent kRespondent{QStringLiteral("Петрова А.В."), zorven::Sex::Female, 20};
const QDateTime kStarted(QDate(2026, 12, 8), QTime(10, 0, 0));

const QByteArray kHeader = "zorven-session 1\n"
                           "surname %D0%9F%D0%B5%D1%82%D1%80%D0%BE%D0%B2%D0%B0%20%D0%90.%D0%92.\n"
                           "sex \xD0\x96\xD0\xB5\xD0\xBD\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9\n"
                           "age 20\n"
                           "started 2026-12-08T10:00:00\n";

} // namespace

class TestScreenJournal : public QObject
{
    Q_OBJECT

private slots:
    void answersBackAndTimesComeBackAsGiven();
    void lineCutByAKillIsLeftOutAndNotGluedToTheNext();
    void unreadableJournalSaysWhere_data();
    void unreadableJournalSaysWhere();
    void journalHeldByAnotherProgramIsNotReopened();
};

// Three answers, «Назад» to the second, another answer to it: the file holds every step,
// only its owner may read it, and its name tells nothing of the respondent.
void TestScreenJournal::answersBackAndTimesComeBackAsGiven()
{
    QTemporaryDir folder;
    QString why;
    auto journal = zorven::SessionJournal::start(QDir(folder.path()), kRespondent, kStarted, &why);
    QVERIFY2(journal, qPrintable(why));
    QVERIFY(journal->appendAnswer(1, 1, 4000, &why));
    QVERIFY(journal->appendAnswer(2, 2, 500, &why));
    QVERIFY(journal->appendAnswer(3, 3, 7000, &why));
    QVERIFY(journal->appendBack(3, &why));
    QVERIFY(journal->appendBack(2, &why));
    QVERIFY(journal->appendAnswer(2, 3, 2500, &why));
    const QString path = journal->path();

    QCOMPARE(fileBytes(path), kHeader + "answer 1 a 4000\nanswer 2 b 500\nanswer 3 c 7000\n"
                                        "back 3\nback 2\nanswer 2 c 2500\n");
    struct stat status {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
    QCOMPARE(status.st_mode & 0777, 0600u);
    QVERIFY(QFileInfo(path).fileName().contains(QRegularExpression(
        QStringLiteral("^zorven-session-20261208-100000-[0-9]{6}\\.journal$"))));
    QCOMPARE(zorven::sessionJournalsIn(QDir(folder.path())), QStringList{path});

    const zorven::JournalReading reading = zorven::readSessionJournal(path);
    QVERIFY2(reading.contents, qPrintable(reading.problem));
    QCOMPARE(reading.contents->respondent.surname, kRespondent.surname);
    QCOMPARE(reading.contents->respondent.sex, kRespondent.sex);
    QCOMPARE(reading.contents->respondent.age, kRespondent.age);
    QCOMPARE(reading.contents->startedAt, kStarted);
    const zorven::ScreenSession &session = reading.contents->session;
    QCOMPARE(session.statementOnShow(), 3);
    QCOMPARE(session.answeredCount(), 3);
    QCOMPARE(QList<int>({session.options().at(1), session.options().at(2), session.options().at(3)}),
             QList<int>({1, 3, 3}));
    QCOMPARE(QList<qint64>({session.firstAnswerTimes()[0], session.firstAnswerTimes()[1],
                            session.firstAnswerTimes()[3]}),
             QList<qint64>({4000, 500, zorven::kNotTimed}));
    QCOMPARE(session.answeringMilliseconds(), 14000);
}

void TestScreenJournal::lineCutByAKillIsLeftOutAndNotGluedToTheNext()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("zorven-session-20261208-100000-123456.journal"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kHeader + "answer 1 a 4000\nanswer 2 b 5");
    file.close();

    const zorven::JournalReading cut = zorven::readSessionJournal(path);
    QVERIFY2(cut.contents, qPrintable(cut.problem));
    QCOMPARE(cut.contents->session.statementOnShow(), 2);

    QString why;
    auto journal = zorven::SessionJournal::reopen(path, &why);
    QVERIFY2(journal, qPrintable(why));
    QVERIFY(journal->appendAnswer(2, 3, 800, &why));
    QCOMPARE(fileBytes(path), kHeader + "answer 1 a 4000\nanswer 2 c 800\n");
}

void TestScreenJournal::unreadableJournalSaysWhere_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");
    QTest::newRow("empty") << QByteArray() << QStringLiteral("строка 1: это не журнал тестирования");
    QTest::newRow("another file") << QByteArray("hello\n") << QStringLiteral("строка 1: это не журнал тестирования");
    QTest::newRow("header cut") << QByteArray("zorven-session 1\nsurname x\n")
                                << QStringLiteral("строка 3: нет анкетных данных");
    QTest::newRow("age out of range") << QByteArray(kHeader).replace("age 20", "age 58")
                                      << QStringLiteral("строка 4: неверный возраст");
    QTest::newRow("statement skipped") << kHeader + "answer 1 a 10\nanswer 3 a 10\n"
                                       << QStringLiteral("строка 7: утверждение не по порядку");
    QTest::newRow("unknown letter") << kHeader + "answer 1 d 10\n"
                                    << QStringLiteral("строка 6: непонятный ответ");
    QTest::newRow("back from the first") << kHeader + "back 0\n"
                                         << QStringLiteral("строка 6: утверждение не по порядку");
}

void TestScreenJournal::unreadableJournalSaysWhere()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("zorven-session-20261208-100000-123456.journal"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    const zorven::JournalReading reading = zorven::readSessionJournal(path);
    QVERIFY(!reading.contents);
    QCOMPARE(reading.problem, problem);
}

void TestScreenJournal::journalHeldByAnotherProgramIsNotReopened()
{
    QTemporaryDir folder;
    QString why;
    auto held = zorven::SessionJournal::start(QDir(folder.path()), kRespondent, kStarted, &why);
    QVERIFY2(held, qPrintable(why));
    QVERIFY(!zorven::SessionJournal::reopen(held->path(), &why));
    QCOMPARE(why, QStringLiteral("с ним работает другая копия программы"));
}

QTEST_GUILESS_MAIN(TestScreenJournal)
#include "tst_screen_journal.moc"
