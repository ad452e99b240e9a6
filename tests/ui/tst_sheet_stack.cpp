// A stack of sheets in one window: the next sheet after «Новый бланк» is the sheet of a
// fresh run, a namesake's report is numbered while the same respondent's is replaced, and
// «Проверочный ввод…» keys a sheet again, blind, stopping at each difference from the
// first keying that the results table holds.

#include "app/difference_box.h"
#include "app/dialogs.h"
#include "app/results_line.h"
#include "app/zorven.h"
#include "questionnaire/answer_key.h"
#include "questionnaire/statements.h"
#include "results/results_table.h"
#include "results/table_records.h"
#include "ui/form_driver.h"
#include "widgets/two_way_question.h"
#include "widgets/typed_ahead_guard.h"
#include "test_files.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <optional>

namespace {

using zorven::KeyedOptions;
using zorven::Sex;
constexpr int kStatements = zorven::kStatementCount;

struct Respondent {
    QString surname;
    Sex sex;
    QString age;
};

const Respondent kWoman{QStringLiteral("Смирнова О.И."), Sex::Female, QStringLiteral("31")};
const QString kWomansReport = QStringLiteral("Смирнова О.И..txt");

class ScriptedDialogs : public Dialogs
{
public:
    QList<PaperQuestion> questions;
    // Which choice the paper shows, by question.
    std::function<int(const PaperQuestion &)> paper = [](const PaperQuestion &) { return 0; };
    bool dropSheet = true;
    bool keyAsNew = false;
    int dropQuestions = 0;
    QStringList keyAsNewMessages;
    QStringList summaries;
    QStringList errors;
    bool replaceReport = true;
    QStringList replaceQuestions;
    // The box on screen answers, keyed as the operator keys it.
    bool realDifferenceBox = false;

    void showErrorReport(QWidget *, const QString &message) override { errors << message; }
    void showFileErrorReport(QWidget *, const QString &message, const QString &) override
    {
        errors << message;
    }
    bool askToRetryResultsTable(QWidget *, const QString &message) override
    {
        errors << message;
        return false;
    }
    QString askProfilePdfPath(QWidget *, const QString &proposed) override { return proposed; }

    bool askToDropSheetOnScreen(QWidget *) override
    {
        ++dropQuestions;
        return dropSheet;
    }
    int askWhatThePaperShows(QWidget *parent, const PaperQuestion &question) override
    {
        questions << question;
        return realDifferenceBox ? Dialogs::askWhatThePaperShows(parent, question) : paper(question);
    }
    bool askToKeyAsNewSheet(QWidget *, const QString &message) override
    {
        keyAsNewMessages << message;
        return keyAsNew;
    }
    void showVerificationSummary(QWidget *, const QString &summary) override { summaries << summary; }
    bool askToReplaceReport(QWidget *, const QString &fileName) override
    {
        replaceQuestions << fileName;
        return replaceReport;
    }
};

KeyedOptions optionsByTurns(int shift = 0)
{
    KeyedOptions options;
    for (int q = 1; q <= kStatements; ++q)
        options.set(q, (q + shift) % 3 + 1);
    return options;
}

int anotherOption(int option)
{
    return option % 3 + 1;
}

// The statement a difference box asks about.
int statementOf(const Dialogs::PaperQuestion &question)
{
    static const QString kPrefix = QStringLiteral("Утверждение № ");
    if (!question.text.startsWith(kPrefix))
        qFatal("not a question about a statement");
    return question.text.sliced(kPrefix.size()).section(u'\n', 0, 0).toInt();
}

// The letters a careless operator keys after skipping statement `skipped` on the paper:
// each later statement gets the next one's letter, and the last gets its own.
KeyedOptions skipping(const KeyedOptions &paper, int skipped)
{
    KeyedOptions keyed = paper;
    for (int q = skipped; q < kStatements; ++q)
        keyed.set(q, paper.at(q + 1));
    return keyed;
}

// A report's age line as its bytes, without the line end's LF.
QByteArray ageLine(const QString &age)
{
    QStringEncoder cp1251("windows-1251");
    return cp1251(QStringLiteral("Возраст (лет): ") + age + u'\r');
}

bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What the window shows: caption, every control's visibility and text, the chart.
QStringList display(const TForm1 *window)
{
    QStringList shown{window->windowTitle()};
    for (const char *name : {"personbox", "Box1", "button5", "RzLabel1", "RzLabel2", "RzLabel3",
                             "RzLabel4", "Label2", "LEdit", "ComboBox1", "SpinEdit1", "Button4"}) {
        const QWidget *control = form_driver::child(window, name);
        shown << QStringLiteral("%1 %2 %3").arg(QLatin1String(name)).arg(control->isVisible()).arg(control->isEnabled());
    }
    // Each run works in a folder of its own, which the results line names.
    for (const char *name : {"RzLabel1", "RzLabel2", "RzLabel3", "RzLabel4", "Label2"})
        shown << form_driver::child<QLabel>(window, name)->text().replace(
            QDir::toNativeSeparators(QDir::currentPath()), QStringLiteral("ПАПКА"));
    shown << form_driver::child<QLineEdit>(window, "LEdit")->text();
    const zorven::ProfileSeries &series = window->chart().series(0);
    for (int k = 0; k < series.pointCount(); ++k)
        shown << QStringLiteral("%1 %2 %3").arg(series.label(k)).arg(series.value(k)).arg(series.markText(k));
    shown << QStringLiteral("chart %1").arg(window->chart().isVisible());
    for (const char *name : {"SaveReport", "SheetAnswers", "PrintProfile", "SaveProfilePdf", "VerifySheet"})
        shown << QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(form_driver::child<QAction>(window, name)->isEnabled());
    return shown;
}

// Every control a keying operator can see, with what it says and how it looks.
QStringList controlsOnShow(const TForm1 *window)
{
    QStringList shown;
    for (const QWidget *control : window->findChildren<QWidget *>()) {
        if (!control->isVisible())
            continue;
        QString text;
        if (const auto *label = qobject_cast<const QLabel *>(control))
            text = label->text();
        else if (const auto *button = qobject_cast<const QAbstractButton *>(control))
            text = QStringLiteral("%1 %2 %3").arg(button->text()).arg(button->isDown()).arg(button->isChecked());
        shown << QStringLiteral("%1 %2 %3 %4 %5 %6")
                     .arg(control->objectName(), text, control->toolTip(), control->styleSheet())
                     .arg(control->isEnabled())
                     .arg(control->palette().cacheKey() == window->palette().cacheKey());
    }
    return shown;
}

// An operator who keys a run of statements blind at a steady pace, each key to the window
// that has the focus, as the window system sends it; then, once a difference box takes
// keys, reads it and presses what the paper shows. The keys keep coming while a key's
// handler waits in a box, as a keyboard's do.
class BlindOperator : public QObject
{
public:
    BlindOperator(const QList<int> &run, int millisecondsPerKey, int answer)
        : m_run(run), m_pace(millisecondsPerKey), m_answer(answer)
    {
        qApp->installEventFilter(this);
        QTimer::singleShot(0, this, &BlindOperator::typeNext);
    }

    int boxesAnswered() const { return m_answered; }
    int keysRefused() const { return m_refused; }

protected:
    // A box is watched from its first showing, before any key reaches it.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<DifferenceBox *>(watched)) {
            QPointer guard = watched->findChild<TypedAheadGuard *>();
            connect(guard, &TypedAheadGuard::keyRefused, this, [this] { ++m_refused; });
            QTimer::singleShot(m_pace, this, [this, guard] { answerOnceListening(guard); });
        }
        return false;
    }

private:
    void typeNext()
    {
        if (m_typed == m_run.size())
            return;
        const int option = m_run[m_typed++];
        QTimer::singleShot(m_pace, this, &BlindOperator::typeNext);
        if (QWindow *focus = QGuiApplication::focusWindow()) // else the key goes nowhere
            QTest::keyClick(focus, Qt::Key(Qt::Key_0 + option));
    }

    void answerOnceListening(const QPointer<TypedAheadGuard> &guard)
    {
        if (!guard) // the box is gone, answered by another key
            return;
        if (m_typed < m_run.size() || !guard->isListening()) {
            QTimer::singleShot(m_pace, this, [this, guard] { answerOnceListening(guard); });
            return;
        }
        ++m_answered;
        QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key(Qt::Key_0 + m_answer));
    }

    QList<int> m_run;
    int m_pace;
    int m_answer;
    qsizetype m_typed = 0;
    int m_refused = 0;
    int m_answered = 0;
};

} // namespace

class TestSheetStack : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void nextSheetIsTheSheetOfAFreshRun();
    void newSheetMidKeyingAsksFirst();
    void namesakeNumberedSameRespondentReplaced_data();
    void namesakeNumberedSameRespondentReplaced();
    void verificationSettlesEachDifference_data();
    void verificationSettlesEachDifference();
    void skippedStatementGivesARunAndTheHint();
    void differingAgeChangesTheNormTable();
    void noFirstKeyingFound();
    void olderTableVerifiedAndUpgraded();
    void verificationIsBlind();
    void keysTypedAheadNeverAnswerTheBox();
    void enterJustAfterAQuestionAnswersNothing();
    void plantedReportNameStaysInTheFolder_data();
    void plantedReportNameStaysInTheFolder();
    void namesakeChosenByRowNotByLabel();
    void ageBoxShowsTheAgesAsKeyed();
    void unwrittenVerifiedReportStillNamed();

private:
    template<typename T = QWidget>
    T *child(const char *name) const
    {
        return form_driver::child<T>(m_window, name);
    }
    void typeRespondent(TForm1 *window, const Respondent &respondent);
    void keySheet(TForm1 *window, const Respondent &respondent, const KeyedOptions &options);
    void verifySheet(const Respondent &respondent, const KeyedOptions &options);
    void newSheet(TForm1 *window);

    std::optional<form_driver::FormFixture> m_form;
    ScriptedDialogs m_dialogs;
    TForm1 *m_window = nullptr;
};

void TestSheetStack::init()
{
    m_dialogs = {};
    m_form.emplace();
    QVERIFY(m_form->isReady());
    m_window = &m_form->window();
    m_window->setDialogs(&m_dialogs);
}

void TestSheetStack::cleanup()
{
    m_form.reset();
}

void TestSheetStack::typeRespondent(TForm1 *window, const Respondent &respondent)
{
    form_driver::typeText(form_driver::child<QLineEdit>(window, "LEdit"), respondent.surname);
    form_driver::chooseSex(window, respondent.sex);
    form_driver::typeAge(window, respondent.age);
    QTest::mouseClick(form_driver::child<QPushButton>(window, "Button4"), Qt::LeftButton);
}

// Keyed with the keys 1, 2, 3, the way a stack is keyed.
void TestSheetStack::keySheet(TForm1 *window, const Respondent &respondent, const KeyedOptions &options)
{
    typeRespondent(window, respondent);
    for (int q = 1; q <= kStatements; ++q)
        QTest::keyClick(window, Qt::Key(Qt::Key_0 + options.at(q)));
}

void TestSheetStack::verifySheet(const Respondent &respondent, const KeyedOptions &options)
{
    newSheet(m_window);
    child<QAction>("VerifySheet")->trigger();
    keySheet(m_window, respondent, options);
}

void TestSheetStack::newSheet(TForm1 *window)
{
    QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
}

// Sheet A, with an undo, then sheet B in the same window: B's report, table row, display
// and every result are those of B keyed in a fresh run.
void TestSheetStack::nextSheetIsTheSheetOfAFreshRun()
{
    const Respondent b{QStringLiteral("Орлов"), Sex::Male, QStringLiteral("58")};
    QByteArray freshReport;
    QStringList freshRow;
    QStringList freshDisplay;
    zorven::Sheet freshSheet;
    {
        form_driver::FormFixture fresh;
        QVERIFY(fresh.isReady());
        ScriptedDialogs dialogs;
        fresh.window().setDialogs(&dialogs);
        QStringList startDisplay = display(&fresh.window());
        newSheet(&fresh.window()); // at start, it changes nothing
        QCOMPARE(display(&fresh.window()), startDisplay);
        keySheet(&fresh.window(), b, optionsByTurns(1));
        freshReport = fileBytes(QStringLiteral("Орлов.txt"));
        freshRow = tableRows().last().mid(1);
        freshDisplay = display(&fresh.window());
        freshSheet = fresh.window().sheet();
    }
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));

    const QStringList startDisplay = display(m_window);
    typeRespondent(m_window, kWoman);
    for (int q = 1; q <= 40; ++q)
        QTest::keyClick(m_window, Qt::Key(Qt::Key_0 + optionsByTurns().at(q)));
    QTest::keyClick(m_window, Qt::Key_Backspace);
    for (int q = 40; q <= kStatements; ++q)
        QTest::keyClick(m_window, Qt::Key(Qt::Key_0 + optionsByTurns().at(q)));
    QVERIFY(m_window->sheet().options.isComplete());

    newSheet(m_window);
    QCOMPARE(display(m_window), startDisplay);
    QVERIFY(child<QLineEdit>("LEdit")->hasFocus());
    keySheet(m_window, b, optionsByTurns(1));

    QCOMPARE(fileBytes(QStringLiteral("Орлов.txt")), freshReport);
    QCOMPARE(tableRows().size(), 2);
    QCOMPARE(tableRows().last().mid(1), freshRow);
    QCOMPARE(display(m_window), freshDisplay);
    QCOMPARE(m_window->sheet().options, freshSheet.options);
    for (int q = 1; q <= kStatements; ++q)
        QCOMPARE(m_window->sheet().answers.at(q), freshSheet.answers.at(q));
    QCOMPARE(m_window->sheet().raw, freshSheet.raw);
    QCOMPARE(m_window->sheet().stens, freshSheet.stens);
    QCOMPARE(m_window->sheet().secondOrder, freshSheet.secondOrder);
    QCOMPARE(m_dialogs.dropQuestions, 0);
}

// Mid-keying the sheet on screen would be lost: «Новый бланк» asks, and staying keeps it.
void TestSheetStack::newSheetMidKeyingAsksFirst()
{
    typeRespondent(m_window, kWoman);
    for (int q = 1; q <= 10; ++q)
        QTest::keyClick(m_window, Qt::Key_2);
    m_dialogs.dropSheet = false;
    newSheet(m_window);
    QCOMPARE(m_dialogs.dropQuestions, 1);
    QCOMPARE(form_driver::statementOnShow(m_window), 11);
    QVERIFY(child("Box1")->isVisible());

    m_dialogs.dropSheet = true;
    newSheet(m_window);
    QCOMPARE(m_dialogs.dropQuestions, 2);
    QVERIFY(child("personbox")->isVisible());
    QVERIFY(!child("Box1")->isVisible());
    QVERIFY(child<QLineEdit>("LEdit")->text().isEmpty());
}

void TestSheetStack::namesakeNumberedSameRespondentReplaced_data()
{
    QTest::addColumn<QString>("secondAge");
    QTest::addColumn<bool>("replace"); // the operator's answer when asked
    QTest::addColumn<QString>("secondReport");
    QTest::addColumn<QStringList>("files");

    QTest::newRow("another respondent")
        << "45" << true << QStringLiteral("Смирнова О.И. (2).txt")
        << QStringList{kWomansReport, QStringLiteral("Смирнова О.И. (2).txt"),
                       QStringLiteral("Смирнова О.И. (2).pdf")};
    QTest::newRow("the same respondent keyed again")
        << "31" << true << kWomansReport << QStringList{kWomansReport, QStringLiteral("Смирнова О.И..pdf")};
    QTest::newRow("same surname, sex and age, saved apart")
        << "31" << false << QStringLiteral("Смирнова О.И. (2).txt")
        << QStringList{kWomansReport, QStringLiteral("Смирнова О.И. (2).txt"),
                       QStringLiteral("Смирнова О.И. (2).pdf")};
}

// Two «Смирнова О.И.»: the second of another age is numbered, and the label, column 42
// and the proposed PDF name say so; one of the same age may be the same respondent keyed
// again or another, so the operator is asked, and her report replaced or kept.
void TestSheetStack::namesakeNumberedSameRespondentReplaced()
{
    QFETCH(QString, secondAge);
    QFETCH(bool, replace);
    QFETCH(QString, secondReport);
    QFETCH(QStringList, files);
    m_dialogs.replaceReport = replace;

    keySheet(m_window, kWoman, optionsByTurns());
    const QByteArray first = fileBytes(kWomansReport);
    newSheet(m_window);
    keySheet(m_window, {kWoman.surname, Sex::Female, secondAge}, optionsByTurns(2));
    child<QAction>("SaveProfilePdf")->trigger();

    QCOMPARE(child<QLabel>("Label2")->text(),
             ResultsLine::reportLocationText(secondReport));
    QCOMPARE(tableRows().last()[41], secondReport);
    QCOMPARE(fileBytes(secondReport).split('\n')[3], ageLine(secondAge));
    QCOMPARE(m_dialogs.replaceQuestions,
             secondAge == kWoman.age ? QStringList{kWomansReport} : QStringList());
    if (secondReport != kWomansReport)
        QCOMPARE(fileBytes(kWomansReport), first);
    files << zorven::kResultsTableFileName;
    files.sort();
    QStringList entries = QDir::current().entryList(QDir::Files);
    entries.sort();
    QCOMPARE(entries, files);
    QVERIFY(m_dialogs.errors.isEmpty());
}

void TestSheetStack::verificationSettlesEachDifference_data()
{
    QTest::addColumn<int>("paperChoice"); // 0: the first keying's option, 1: the second's
    QTest::addColumn<QString>("mark");
    QTest::addColumn<int>("differences");

    QTest::newRow("matching keyings") << -1 << QStringLiteral("проверен") << 0;
    QTest::newRow("paper agrees with the first keying") << 0 << QStringLiteral("проверен") << 1;
    QTest::newRow("paper agrees with the second keying")
        << 1 << QStringLiteral("проверен, исправлено 1") << 1;
}

// The second keying differs at statement 100, or nowhere. The difference stops keying
// there; what the paper shows stands, and only a corrected sheet rewrites its report.
void TestSheetStack::verificationSettlesEachDifference()
{
    QFETCH(int, paperChoice);
    QFETCH(QString, mark);
    QFETCH(int, differences);

    keySheet(m_window, kWoman, optionsByTurns());
    const QByteArray firstReport = fileBytes(kWomansReport);
    KeyedOptions second = optionsByTurns();
    if (differences > 0)
        second.set(100, anotherOption(second.at(100)));
    const int firstOption = optionsByTurns().at(100);
    m_dialogs.paper = [&](const Dialogs::PaperQuestion &) {
        return (paperChoice == 0 ? firstOption : second.at(100)) - 1;
    };
    verifySheet({QStringLiteral("  смирнова   о.и. "), Sex::Female, QStringLiteral("31")}, second);

    QCOMPARE(m_dialogs.questions.size(), differences);
    if (differences > 0) {
        const QString &text = m_dialogs.questions[0].text;
        QVERIFY2(text.startsWith(QStringLiteral("Утверждение № 100\n«%1»").arg(zorven::statementText(100))), qPrintable(text));
        QCOMPARE(m_dialogs.questions[0].choices.size(), 3);
    }
    const QList<QStringList> rows = tableRows();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0][42], QString());
    QCOMPARE(rows[1][42], mark);
    QCOMPARE(rows[1][41], kWomansReport);
    QCOMPARE(rows[1][1], kWoman.surname);
    KeyedOptions settled = optionsByTurns();
    if (paperChoice == 1)
        settled.set(100, second.at(100));
    QCOMPARE(m_window->sheet().options, settled);
    if (paperChoice != 1)
        QCOMPARE(fileBytes(kWomansReport), firstReport);
    QCOMPARE(m_dialogs.summaries.size(), 1);
    QVERIFY2(m_dialogs.summaries[0].contains(
                 differences ? QStringLiteral("Сравнено ответов: 187.\nРазличались: 1; номера утверждений: 100.")
                             : QStringLiteral("Сравнено ответов: 187.\nРазличались: 0.")),
             qPrintable(m_dialogs.summaries[0]));
    QVERIFY(m_dialogs.errors.isEmpty());
}

// A statement skipped on the paper at 50 shifts every later answer: keying stops at each
// difference, and from the third in a row the box names statement 50 as the run's start.
void TestSheetStack::skippedStatementGivesARunAndTheHint()
{
    keySheet(m_window, kWoman, optionsByTurns());
    m_dialogs.paper = [](const Dialogs::PaperQuestion &question) {
        return optionsByTurns().at(statementOf(question)) - 1;
    };
    const QString hint = QStringLiteral("начиная с утверждения №\u00A050");
    verifySheet(kWoman, skipping(optionsByTurns(), 50));

    QVERIFY(m_dialogs.questions.size() >= 3);
    QVERIFY(!m_dialogs.questions[0].text.contains(hint));
    QVERIFY(m_dialogs.questions[0].text.startsWith(QStringLiteral("Утверждение № 50\n")));
    QVERIFY(!m_dialogs.questions[1].text.contains(hint));
    QVERIFY2(m_dialogs.questions[2].text.contains(hint), qPrintable(m_dialogs.questions[2].text));
    QVERIFY(m_dialogs.questions[2].text.contains(QStringLiteral("пропущено или введено дважды")));
    QCOMPARE(m_window->sheet().options, optionsByTurns());
    QCOMPARE(tableRows().last()[42], QStringLiteral("проверен"));
}

// The age keyed first, 20, was wrong; the paper says 40, which is another norm table: the
// sheet is scored again, its report rewritten in place, one correction counted.
void TestSheetStack::differingAgeChangesTheNormTable()
{
    keySheet(m_window, {kWoman.surname, Sex::Female, QStringLiteral("20")}, optionsByTurns());
    const zorven::Stens firstStens = m_window->sheet().stens;
    m_dialogs.paper = [](const Dialogs::PaperQuestion &) { return 1; };
    verifySheet(kWoman, optionsByTurns());

    QCOMPARE(m_dialogs.questions.size(), 1);
    QCOMPARE(m_dialogs.questions[0].choices, (QStringList{"20", "31"}));
    QVERIFY(m_window->sheet().stens != firstStens);
    QCOMPARE(fileBytes(kWomansReport).split('\n')[3], ageLine(QStringLiteral("31")));
    QCOMPARE(tableRows().last()[3], QStringLiteral("31"));
    QCOMPARE(tableRows().last()[42], QStringLiteral("проверен, исправлено 1"));
    QCOMPARE(QDir::current().entryList({QStringLiteral("*.txt")}), QStringList{kWomansReport});

    // The sheet is verified now: a second verification finds nothing left to check.
    verifySheet(kWoman, optionsByTurns());
    QCOMPARE(m_dialogs.keyAsNewMessages.size(), 1);
    QVERIFY(child("personbox")->isVisible());
}

// Nothing to verify under that surname: the operator is told and may key it as new.
void TestSheetStack::noFirstKeyingFound()
{
    keySheet(m_window, kWoman, optionsByTurns());
    verifySheet({QStringLiteral("Смирнов"), Sex::Male, QStringLiteral("31")}, optionsByTurns());
    QCOMPARE(m_dialogs.keyAsNewMessages,
             QStringList{QStringLiteral("В таблице результатов «zorven-results.csv» нет "
                                        "непроверенного бланка с фамилией «Смирнов».")});
    QVERIFY(child("personbox")->isVisible());

    m_dialogs.keyAsNew = true;
    QTest::mouseClick(child<QPushButton>("Button4"), Qt::LeftButton);
    for (int q = 1; q <= kStatements; ++q)
        QTest::keyClick(m_window, Qt::Key_1);
    QCOMPARE(tableRows().size(), 2);
    QCOMPARE(tableRows().last()[1], QStringLiteral("Смирнов"));
    QCOMPARE(tableRows().last()[42], QString());
    QVERIFY(m_dialogs.summaries.isEmpty());
    QVERIFY(m_dialogs.questions.isEmpty());
}

// A table of 42 columns, as the program wrote them before: its sheet is found and
// verified, and every row it had is kept, with empty columns 43 to 45.
void TestSheetStack::olderTableVerifiedAndUpgraded()
{
    keySheet(m_window, kWoman, optionsByTurns());
    QByteArray table = fileBytes(zorven::kResultsTableFileName);
    const QByteArray header = zorven::kUtf8ByteOrderMark + zorven::resultsTableHeader();
    const QByteArray row = table.sliced(header.size());
    QVERIFY(row.endsWith(";;;\r\n"));
    const QByteArray olderRow = row.chopped(5) + "\r\n";
    QVERIFY(putFile(zorven::kResultsTableFileName,
                    zorven::kUtf8ByteOrderMark + zorven::olderResultsTableHeader() + olderRow));

    verifySheet(kWoman, optionsByTurns());

    table = fileBytes(zorven::kResultsTableFileName);
    QVERIFY(table.startsWith(header + row));
    QCOMPARE(tableRows().size(), 2);
    QCOMPARE(tableRows().last()[42], QStringLiteral("проверен"));
    QVERIFY(m_dialogs.errors.isEmpty());
}

// During the second keying nothing on screen differs from a keying that is no
// verification: the window tells no option of the first keying before a difference does.
void TestSheetStack::verificationIsBlind()
{
    const KeyedOptions first = optionsByTurns();
    keySheet(m_window, kWoman, first);
    newSheet(m_window);
    child<QAction>("VerifySheet")->trigger();
    typeRespondent(m_window, kWoman);

    form_driver::FormFixture plain;
    QVERIFY(plain.isReady());
    plain.window().setDialogs(&m_dialogs);
    typeRespondent(&plain.window(), kWoman);
    for (int q = 1; q < kStatements; ++q) {
        QCOMPARE(controlsOnShow(m_window), controlsOnShow(&plain.window()));
        QTest::keyClick(m_window, Qt::Key(Qt::Key_0 + first.at(q)));
        QTest::keyClick(&plain.window(), Qt::Key(Qt::Key_0 + first.at(q)));
    }
    QVERIFY(m_dialogs.questions.isEmpty());
}

// The first keying has statement 5 wrong. Keyed again blind at 20 ms a key, statements 1
// to 10 run into the box that 5 opens: keys 6 to 10 answer nothing, each with a beep. The
// operator answers from the paper and keys on from the statement on show: the sheet is
// the paper, with the one correction.
void TestSheetStack::keysTypedAheadNeverAnswerTheBox()
{
    const KeyedOptions paper = optionsByTurns();
    KeyedOptions first = paper;
    first.set(5, anotherOption(paper.at(5)));
    keySheet(m_window, kWoman, first);
    newSheet(m_window);
    child<QAction>("VerifySheet")->trigger();
    typeRespondent(m_window, kWoman);
    m_dialogs.realDifferenceBox = true;

    QList<int> run;
    for (int q = 1; q <= 10; ++q)
        run << paper.at(q);
    BlindOperator operatorAtSpeed(run, 20, paper.at(5));
    QTRY_VERIFY(operatorAtSpeed.boxesAnswered() > 0 && !QApplication::activeModalWidget());
    QCOMPARE(operatorAtSpeed.boxesAnswered(), 1);
    QCOMPARE(operatorAtSpeed.keysRefused(), 5);
    QCOMPARE(form_driver::statementOnShow(m_window), 6);
    for (int q = 6; q <= kStatements; ++q)
        QTest::keyClick(m_window, Qt::Key(Qt::Key_0 + paper.at(q)));

    QCOMPARE(m_dialogs.questions.size(), 1);
    QCOMPARE(m_window->sheet().options, paper);
    QCOMPARE(tableRows().last()[42], QStringLiteral("проверен, исправлено 1"));
}

// A question that opens on the key finishing a sheet can be on the screen before the next
// key comes: an Enter in its first moment was meant for before and presses nothing.
void TestSheetStack::enterJustAfterAQuestionAnswersNothing()
{
    QTimer::singleShot(0, m_window, [] {
        QWidget *box = QApplication::activeModalWidget();
        QVERIFY(box && QTest::qWaitForWindowExposed(box));
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(box->isVisible());
        QTRY_VERIFY(box->findChild<TypedAheadGuard *>()->isListening());
        QTest::keyClick(box, Qt::Key_Return);
    });
    QVERIFY(askTwoWay(m_window, {QStringLiteral("Вопрос"), QStringLiteral("Заменить?"),
                                 QStringLiteral("Заменить"), QStringLiteral("Сохранить отдельно"),
                                 true, QMessageBox::Question, true}));
}

void TestSheetStack::plantedReportNameStaysInTheFolder_data()
{
    QTest::addColumn<bool>("absolute");
    QTest::newRow("relative, through ..") << false;
    QTest::newRow("absolute") << true;
}

// Column 42 of the first keying edited by hand to name a file outside the folder: the
// corrected report is written under a name made from the surname, and the file outside
// keeps what it held.
void TestSheetStack::plantedReportNameStaysInTheFolder()
{
    QFETCH(bool, absolute);
    const QTemporaryDir outside;
    const QString victim = outside.filePath(QStringLiteral("victim.txt"));
    QVERIFY(putFile(victim, "keep"));
    keySheet(m_window, kWoman, optionsByTurns());
    const QString planted = absolute ? victim : QDir::current().relativeFilePath(victim);
    QByteArray table = fileBytes(zorven::kResultsTableFileName);
    table.replace(";" + kWomansReport.toUtf8() + ";", ";" + planted.toUtf8() + ";");
    QVERIFY(putFile(zorven::kResultsTableFileName, table));
    QVERIFY(QFile::remove(kWomansReport));

    KeyedOptions second = optionsByTurns();
    second.set(100, anotherOption(second.at(100)));
    m_dialogs.paper = [&](const Dialogs::PaperQuestion &) { return second.at(100) - 1; };
    verifySheet(kWoman, second);

    QCOMPARE(fileBytes(victim), QByteArray("keep"));
    QCOMPARE(tableRows().last()[41], kWomansReport);
    QCOMPARE(fileBytes(kWomansReport).split('\n')[3], ageLine(kWoman.age));
    QVERIFY(m_dialogs.errors.isEmpty());
}

// Two sheets of one surname (as the lookup reads it), sex and age, keyed within a minute:
// the list tells them apart, and the older one, chosen, is the one verified.
void TestSheetStack::namesakeChosenByRowNotByLabel()
{
    const Respondent older = kWoman;
    const Respondent newer{QStringLiteral("СМИРНОВА О.И."), kWoman.sex, kWoman.age};
    keySheet(m_window, older, optionsByTurns());
    newSheet(m_window);
    keySheet(m_window, newer, optionsByTurns(1));

    QStringList listed;
    QTimer::singleShot(0, this, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        auto *list = dialog->findChild<QComboBox *>();
        for (int i = 0; i < list->count(); ++i)
            listed << list->itemText(i);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
            if (button->text() == QStringLiteral("Проверять этот"))
                QTest::mouseClick(button, Qt::LeftButton);
        }
    });
    verifySheet(older, optionsByTurns());

    QCOMPARE(listed.size(), 2);
    QVERIFY2(listed[0] != listed[1], qPrintable(listed.join(u'|')));
    QVERIFY(m_dialogs.questions.isEmpty());
    QCOMPARE(tableRows().last()[41], kWomansReport);
    QCOMPARE(tableRows().last()[42], QStringLiteral("проверен"));
}

// First keying «Женский», 50; second «Мужской», 58; the paper says «Женский». The age box
// shows 58 as keyed and says that the women's limit takes it as 55.
void TestSheetStack::ageBoxShowsTheAgesAsKeyed()
{
    keySheet(m_window, {kWoman.surname, Sex::Female, QStringLiteral("50")}, optionsByTurns());
    m_dialogs.paper = [](const Dialogs::PaperQuestion &) { return 1; }; // «Женский», then 58
    verifySheet({kWoman.surname, Sex::Male, QStringLiteral("58")}, optionsByTurns());

    QCOMPARE(m_dialogs.questions.size(), 2);
    QCOMPARE(m_dialogs.questions[1].choices, (QStringList{"50", "58"}));
    QCOMPARE(m_dialogs.questions[1].text,
             QStringLiteral("Возраст при первом вводе: 50, при втором: 58.\nПри поле «Женский» возраст "
                            "от 16 до 55: 58 будет взят как 55.\n\nЧто указано на бумажном бланке?"));
    QCOMPARE(tableRows().last()[3], QStringLiteral("55"));
}

// The corrected report cannot be written (a folder stands in its place): the verification's
// row still names the report of the sheet it checks, so the table shows it verified.
void TestSheetStack::unwrittenVerifiedReportStillNamed()
{
    keySheet(m_window, kWoman, optionsByTurns());
    QVERIFY(QFile::remove(kWomansReport));
    QVERIFY(QDir::current().mkdir(kWomansReport));
    KeyedOptions second = optionsByTurns();
    second.set(100, anotherOption(second.at(100)));
    m_dialogs.paper = [&](const Dialogs::PaperQuestion &) { return second.at(100) - 1; };
    verifySheet(kWoman, second);

    QCOMPARE(m_dialogs.errors.size(), 1);
    QCOMPARE(tableRows().last()[41], kWomansReport);
    QCOMPARE(tableRows().last()[42], QStringLiteral("проверен, исправлено 1"));
}

int main(int argc, char *argv[])
{
    return form_driver::execInRussianLocale<TestSheetStack>(argc, argv);
}

#include "tst_sheet_stack.moc"
