// Testing at the computer, driven as the respondent and the operator would: the whole
// session with «Назад» and a double click gives the report and the row that keying the
// same answers gives, byte for byte; a session left part-way is offered again and goes on
// where it stopped; a journal that cannot be read is named and left where it is.

#include "administration/operator_questions.h"
#include "administration/respondent_screen.h"
#include "app/dialogs.h"
#include "results/results_table.h"
#include "ui/form_driver.h"
#include "test_files.h"

#include <QAction>
#include <QLabel>
#include <QStyleHints>

#include <sys/stat.h>

namespace {

constexpr int kStatements = 187;

const QString kSurname = QStringLiteral("Петрова А.В.");

class ScriptedDialogs : public Dialogs
{
public:
    QStringList errorReports;
    QStringList resumeOffers;
    bool resume = true;

    void showErrorReport(QWidget *, const QString &message) override { errorReports << message; }
    bool askToResumeSession(QWidget *, const QString &description) override
    {
        resumeOffers << description;
        return resume;
    }
};

class ScriptedQuestions : public OperatorQuestions
{
public:
    UnfinishedChoice unfinished = UnfinishedChoice::Keep;
    int asked = 0;

    UnfinishedChoice askToLeaveUnfinished(QWidget *, int) override
    {
        ++asked;
        return unfinished;
    }
    bool askToLeaveFinished(QWidget *) override
    {
        ++asked;
        return true;
    }
};

// The woman's sheet: a, b, c by turns.
int optionFor(int q)
{
    return q % 3 + 1;
}

// The table's one row, split into its fields.
QByteArrayList rowFields()
{
    const QByteArrayList lines = fileBytes(zorven::kResultsTableFileName).split('\n');
    return lines.size() == 3 ? lines[1].chopped(1).split(';') : QByteArrayList{"<not one row>"};
}

QStringList journalsHere()
{
    return QDir::current().entryList({QStringLiteral("zorven-session-*")}, QDir::Files | QDir::Hidden);
}

} // namespace

class TestScreenTesting : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void sessionGivesTheKeyedSheetsReportAndRow();
    void sessionLeftPartWayGoesOnWhereItStopped();
    void unreadableJournalIsNamedAndKept();

private:
    void typeRespondentData();
    RespondentScreen *startScreen();
    void answer(RespondentScreen *screen, int option, int q);
    int statementOn(const RespondentScreen *screen) const;

    std::optional<form_driver::FormFixture> m_form;
    ScriptedDialogs m_dialogs;
    ScriptedQuestions m_questions;
};

void TestScreenTesting::init()
{
    m_form.emplace();
    QVERIFY(m_form->isReady());
    m_form->window().setDialogs(&m_dialogs);
    m_dialogs = {};
    m_questions = {};
}

void TestScreenTesting::cleanup()
{
    m_form.reset();
    form_driver::clickWithoutDoubleClickGuard();
}

void TestScreenTesting::typeRespondentData()
{
    form_driver::typeText(m_form->child<QLineEdit>("LEdit"), kSurname);
    form_driver::chooseSex(&m_form->window(), zorven::Sex::Female);
    form_driver::typeAge(&m_form->window(), QStringLiteral("20"));
}

// «Тестирование на экране…», then the respondent's «Начать».
RespondentScreen *TestScreenTesting::startScreen()
{
    m_form->child<QAction>("ScreenTesting")->trigger();
    auto *screen = m_form->window().findChild<RespondentScreen *>();
    if (!screen)
        return nullptr;
    screen->setQuestions(&m_questions);
    // The offscreen platform leaves the focus with the hidden main window.
    QApplication::setActiveWindow(screen);
    if (!QTest::qWaitForWindowActive(screen))
        return nullptr;
    QTest::mouseClick(form_driver::child<QPushButton>(screen, "StartButton"), Qt::LeftButton);
    return screen;
}

// By click, by digit, by Latin letter and by Cyrillic letter, in turn.
void TestScreenTesting::answer(RespondentScreen *screen, int option, int q)
{
    static const QString kLatin = QStringLiteral("abc");
    static const QString kCyrillic = QStringLiteral("абс");
    switch (q % 4) {
    case 0:
        QTest::mouseClick(form_driver::child<QPushButton>(screen, qPrintable(QStringLiteral("Option%1").arg(option))),
                          Qt::LeftButton);
        break;
    case 1:
        QTest::keyClick(screen, Qt::Key(Qt::Key_0 + option));
        break;
    case 2:
        QTest::sendKeyEvent(QTest::Click, screen, Qt::Key_unknown, kLatin[option - 1], Qt::NoModifier);
        break;
    default:
        QTest::sendKeyEvent(QTest::Click, screen, Qt::Key_unknown, kCyrillic[option - 1], Qt::NoModifier);
        break;
    }
}

int TestScreenTesting::statementOn(const RespondentScreen *screen) const
{
    const QString progress = form_driver::child<QLabel>(screen, "Progress")->text();
    return progress.section(u' ', 1, 1).toInt();
}

// Keyed in one folder, answered on the screen in another: the same report, and the same
// row but for its time and its last two columns.
void TestScreenTesting::sessionGivesTheKeyedSheetsReportAndRow()
{
    typeRespondentData();
    QTest::mouseClick(m_form->child<QPushButton>("Button4"), Qt::LeftButton);
    for (int q = 1; q <= kStatements; ++q)
        QTest::keyClick(&m_form->window(), Qt::Key(Qt::Key_0 + optionFor(q)));
    const QByteArray keyedReport = fileBytes(kSurname + QStringLiteral(".txt"));
    const QByteArrayList keyedRow = rowFields();
    QCOMPARE(keyedRow.size(), zorven::kResultsTableColumns);

    init();
    typeRespondentData();
    RespondentScreen *screen = startScreen();
    QVERIFY(screen);
    QVERIFY(!m_form->window().isVisible());
    for (int q = 1; q <= kStatements; ++q) {
        QCOMPARE(statementOn(screen), q);
        if (q == 10) { // a wrong answer taken back
            answer(screen, optionFor(q) % 3 + 1, q);
            QTest::mouseClick(form_driver::child<QPushButton>(screen, "BackButton"), Qt::LeftButton);
            QCOMPARE(statementOn(screen), q);
        }
        if (q == 20) { // the second click of a double click answers nothing
            answer(screen, optionFor(q), 0);
            QGuiApplication::styleHints()->setMouseDoubleClickInterval(60'000);
            answer(screen, optionFor(q), 0);
            form_driver::clickWithoutDoubleClickGuard();
            QCOMPARE(statementOn(screen), q + 1);
            continue;
        }
        answer(screen, optionFor(q), q);
    }
    QVERIFY(form_driver::child<QLabel>(screen, "EndText")->isVisible());
    QCOMPARE(journalsHere().size(), 2); // the journal and its lock, until the results are filed

    screen->close();
    QCOMPARE(m_questions.asked, 1);
    QVERIFY(m_form->window().isVisible());
    QCOMPARE(fileBytes(kSurname + QStringLiteral(".txt")), keyedReport);
    QByteArrayList row = rowFields();
    QCOMPARE(row.size(), zorven::kResultsTableColumns);
    QCOMPARE(row[zorven::kEntryMethodColumn], QByteArray("экран"));
    QVERIFY(row[zorven::kMinutesColumn].toInt() >= 1);
    for (QByteArrayList *fields : {&row, const_cast<QByteArrayList *>(&keyedRow)}) {
        (*fields)[0].clear();
        (*fields)[zorven::kEntryMethodColumn].clear();
        (*fields)[zorven::kMinutesColumn].clear();
    }
    QCOMPARE(row, keyedRow);
    QCOMPARE(journalsHere(), QStringList());
    QVERIFY(m_form->child<QLabel>("QualitySigns")->isVisible());
    QVERIFY(m_form->child<QLabel>("QualitySigns")->toolTip().contains(QStringLiteral("средних ответов: 62 из 186")));
}

// Ctrl+Alt+Q at statement 6, kept; «Тестирование на экране…» offers it again, and it goes
// on at statement 6 with the five answers given.
void TestScreenTesting::sessionLeftPartWayGoesOnWhereItStopped()
{
    typeRespondentData();
    RespondentScreen *screen = startScreen();
    QVERIFY(screen);
    for (int q = 1; q <= 5; ++q)
        answer(screen, optionFor(q), q);
    QTest::keyClick(screen, Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(m_questions.asked, 1);
    QVERIFY(m_form->window().isVisible());
    QTRY_VERIFY(!m_form->window().findChild<RespondentScreen *>());

    const QStringList journals = QDir::current().entryList({QStringLiteral("*.journal")}, QDir::Files);
    QCOMPARE(journals.size(), 1);
    QVERIFY(!journals[0].contains(QStringLiteral("Петрова")));
    struct stat status {};
    QCOMPARE(::stat(QFile::encodeName(journals[0]).constData(), &status), 0);
    QCOMPARE(status.st_mode & 0777, 0600u);

    screen = startScreen();
    QVERIFY(screen);
    QCOMPARE(m_dialogs.resumeOffers.size(), 1);
    QVERIFY(m_dialogs.resumeOffers[0].contains(QStringLiteral("Дано ответов: 5 из 187.")));
    QVERIFY(form_driver::child<QLabel>(screen, "ResumedAt")->text().contains(QStringLiteral("утверждения 6 из 187")));
    for (int q = 6; q <= kStatements; ++q) {
        QCOMPARE(statementOn(screen), q);
        answer(screen, optionFor(q), q);
    }
    screen->close();
    QByteArray letters;
    for (int q = 1; q <= kStatements; ++q)
        letters += "abc"[optionFor(q) - 1];
    QCOMPARE(rowFields().value(4), letters);
    QCOMPARE(journalsHere(), QStringList());
}

void TestScreenTesting::unreadableJournalIsNamedAndKept()
{
    const QString name = QStringLiteral("zorven-session-20261208-100000-123456.journal");
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("zorven-session 1\nsurname x\n");
    file.close();
    typeRespondentData();

    m_form->child<QAction>("ScreenTesting")->trigger();
    QCOMPARE(m_dialogs.errorReports.size(), 1);
    QVERIFY(m_dialogs.errorReports[0].contains(QDir::current().absoluteFilePath(name)));
    QCOMPARE(fileBytes(name), QByteArray("zorven-session 1\nsurname x\n"));
    // The new session starts all the same, beside the kept journal.
    QVERIFY(m_form->window().findChild<RespondentScreen *>());
}

int main(int argc, char *argv[])
{
    return form_driver::execInRussianLocale<TestScreenTesting>(argc, argv);
}

#include "tst_screen_testing.moc"
