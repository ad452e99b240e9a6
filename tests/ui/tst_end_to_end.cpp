// The whole road, as an operator in a Russian locale walks it: the respondent data typed
// into the real main window, a whole sheet keyed with one undo on the way, and then the
// report file byte for byte, the profile chart and the four values, and the sheet's row of
// the results table, which batch scoring turns back into the same report. Then the
// failures of writing the report or the row, none of which may lose the keyed sheet.
//
// The expected stens and second-order values were worked out by hand from the answer key
// and the norm tables, not with this program's code.

#include "app/dialogs.h"
#include "questionnaire/answer_key.h"
#include "batch/batch_scoring.h"
#include "results/results_table.h"
#include "golden_report.h"
#include "ui/form_driver.h"
#include "test_files.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLockFile>
#include <QStringEncoder>

#include <array>
#include <functional>
#include <optional>

namespace {

constexpr int kStatements = 187;
// The statement at which the operator presses a wrong option and takes it back.
constexpr int kUndoneStatement = 10;
constexpr int kNoKeys = kStatements + 1;

const QString kNotWrittenText = QStringLiteral("Отчёт не записан в файл - ");
// What the results line says of a report at `path`: its file's name, then its folder.
QString doneText(const QString &path)
{
    const QFileInfo report(path);
    return QStringLiteral("Результаты тестирования находятся в файле - ") + report.fileName()
           + QStringLiteral("\nв папке ") + QDir::toNativeSeparators(report.absolutePath());
}

// Answers the modal questions in place of the operator and remembers what was asked.
class ScriptedDialogs : public Dialogs
{
public:
    // A report of the same respondent stands: the sheet keyed again replaces it.
    bool askToReplaceReport(QWidget *, const QString &) override { return true; }

    QStringList errorReports;
    QStringList errorPaths; // the file each error report named, if any
    QStringList proposedPaths;
    QStringList tableFailures;
    QStringList tableNotices;
    // What the table failure's box answers: true for «Повторить».
    std::function<bool()> retryTable = [] { return false; };
    bool resultsShownAtTableFailure = false;
    QStringList openedTables;
    const QWidget *chart = nullptr;
    // What the save dialog answers, one per showing; an empty answer is a cancel.
    QStringList pathAnswers;
    // What the question on closing with unsaved results answers, one per showing.
    QList<UnsavedResultsChoice> unsavedAnswers;
    int unsavedQuestions = 0;

    void showErrorReport(QWidget *, const QString &message) override { errorReports << message; }

    void showFileErrorReport(QWidget *, const QString &message, const QString &path) override
    {
        errorReports << message;
        errorPaths << path;
    }

    bool askToRetryResultsTable(QWidget *, const QString &message) override
    {
        tableFailures << message;
        resultsShownAtTableFailure = chart && chart->isVisible();
        return retryTable();
    }

    void showResultsTableNotice(QWidget *, const QString &message) override { tableNotices << message; }

    void openResultsTable(const QString &path) override { openedTables << path; }

    UnsavedResultsChoice askAboutUnsavedResults(QWidget *) override
    {
        ++unsavedQuestions;
        return unsavedAnswers.isEmpty() ? UnsavedResultsChoice::Stay : unsavedAnswers.takeFirst();
    }

    QString askReportPath(QWidget *, const QString &proposedPath) override
    {
        proposedPaths << proposedPath;
        return pathAnswers.isEmpty() ? QString() : pathAnswers.takeFirst();
    }
};

struct Respondent
{
    QString name;
    zorven::Sex sex;
    QString sexText;
    int age;
};

struct Results
{
    QList<int> stens;
    QStringList secondOrder; // as a Russian locale writes them
};

// The report the known sheet's report becomes for this respondent, results and date.
QByteArray expectedReport(const Respondent &respondent, const Results &results, const QDate &date)
{
    QList<golden::LineValue> values = {
        {golden::kSurnameLine, golden::cp1251(respondent.name)},
        {golden::kAgeLine, QByteArray::number(respondent.age)},
        {golden::kSexLine, golden::cp1251(respondent.sexText)},
        {golden::kDateLine, date.toString(QStringLiteral("dd.MM.yyyy")).toLatin1()},
    };
    for (int k = 0; k < 16; ++k)
        values.append({golden::kFirstStenLine + k, QByteArray::number(results.stens[k])});
    for (int f = 0; f < 4; ++f)
        values.append({golden::kFirstSecondOrderLine + f, results.secondOrder[f].toLatin1()});
    return golden::withValues(golden::kReport, values);
}

QStringList entriesOf(const QString &directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                         | QDir::NoDotAndDotDot,
                                     QDir::Name);
}

// The report and the results table, as a directory lists them.
QStringList reportAndTable(const QString &fileName)
{
    QStringList names = {fileName, zorven::kResultsTableFileName};
    names.sort();
    return names;
}

// The sheet's row as the table must hold it, given the time of scoring and the raw
// scores; the stens and F1..F4 are those of the report.
QByteArray expectedRow(const QByteArray &scoredAt, const Respondent &respondent,
                       const QList<int> &options, const zorven::RawScores &raw,
                       const Results &results, const QString &reportName)
{
    QByteArrayList fields = {scoredAt, respondent.name.toUtf8(), respondent.sexText.toUtf8(),
                             QByteArray::number(respondent.age)};
    QByteArray letters;
    for (const int option : options)
        letters += "abc"[option - 1];
    fields << letters;
    for (const std::uint8_t score : raw)
        fields << QByteArray::number(score);
    for (const int sten : results.stens)
        fields << QByteArray::number(sten);
    for (const QString &value : results.secondOrder)
        fields << (value.contains(u',') ? '"' + value.toUtf8() + '"' : value.toUtf8());
    // Keyed once, by hand: columns 43 to 45 empty.
    fields << reportName.toUtf8() << QByteArray() << QByteArray() << QByteArray();
    return fields.join(';') + "\r\n";
}

// The woman's sheet: a, b, c by turns from statement 3 (q % 3 == 0 is a).
QList<int> optionsByTurns()
{
    QList<int> options;
    for (int q = 1; q <= kStatements; ++q)
        options << q % 3 + 1;
    return options;
}

int highestScoringOption(int q)
{
    int best = 1;
    for (int option = 2; option <= 3; ++option) {
        if (zorven::answerCode(q, option) > zorven::answerCode(q, best))
            best = option;
    }
    return best;
}

// The man's sheet: every point the key gives up to statement 99, option c from 100 on.
// Statements 1 and 2 score nothing whatever is pressed; they get option a.
QList<int> highestOptionsThenC()
{
    QList<int> options;
    for (int q = 1; q <= kStatements; ++q)
        options << (q < 100 ? highestScoringOption(q) : 3);
    return options;
}

const Respondent kWoman{QStringLiteral("Петрова А.В."), zorven::Sex::Female,
                        QStringLiteral("Женский"), 20};
const QString kWomansFile = kWoman.name + QStringLiteral(".txt");
const Results kWomansResults{{4, 2, 7, 5, 7, 2, 8, 5, 3, 4, 6, 6, 5, 4, 3, 4},
                             {"5,4", "7,2", "7,7", "4,2"}};

} // namespace

Q_DECLARE_METATYPE(Respondent)
Q_DECLARE_METATYPE(Results)

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void keyedSheetGivesReportChartAndValues_data();
    void keyedSheetGivesReportChartAndValues();
    void readOnlyEarlierReportIsKeptAndTheSheetSavedElsewhere();
    void saveIntoMissingFolderFailsAndCanBeTriedAgain();
    void cancelledSaveWritesNothingAndSaysNothing();
    void plantedLinkIsRefusedAndClosingAsksUntilTheSheetIsSaved();
    void quittingWithoutSavingWritesNothing();
    void foreignTableIsReportedAfterTheResultsAndKept();
    void heldTableTakesTheRowWhenTriedAgain();
    void tornTableLineIsEndedAndTold();

private:
    void enterRespondent(const Respondent &respondent);
    void keySheet(const QList<int> &options, int keysFrom, int wrongOption);
    void press(int option, bool byKey);
    int statementOnShow() const { return form_driver::statementOnShow(m_window); }
    void checkResultsShown(const Results &results);
    void checkTableRow(const Respondent &respondent, const QList<int> &options,
                       const Results &results, const QString &reportName);
    void checkBatchGivesTheSameReport(const QString &fileName);
    bool keyWomansSheet();
    QByteArray womansReport() const;

    std::optional<form_driver::FormFixture> m_form;
    TForm1 *m_window = nullptr;
    ScriptedDialogs m_dialogs;
    std::optional<QTemporaryDir> m_elsewhere;
    QDate m_keyingDay;
    QDateTime m_beforeLastPress;
    QDateTime m_afterLastPress;
};

// The report's decimal comma and date come from the locale main() chose; without it this
// file would test nothing of the Russian road.
void TestEndToEnd::initTestCase()
{
    QVERIFY2(QLocale::system().decimalPoint() == QStringLiteral(","),
             "the system locale is not Russian: LC_ALL=ru_RU.UTF-8 was not honoured");
    QCOMPARE(QLocale::system().dateFormat(QLocale::ShortFormat), QStringLiteral("dd.MM.yyyy"));
}

void TestEndToEnd::init()
{
    m_dialogs = {};
    m_elsewhere.emplace();
    QVERIFY(m_elsewhere->isValid());
    m_form.emplace();
    QVERIFY(m_form->isReady());
    m_window = &m_form->window();
    m_window->setDialogs(&m_dialogs);
    m_dialogs.chart = m_form->child("Chart1");
}

void TestEndToEnd::cleanup()
{
    m_form.reset();
    m_elsewhere.reset();
}

void TestEndToEnd::enterRespondent(const Respondent &respondent)
{
    form_driver::typeText(m_form->child<QLineEdit>("LEdit"), respondent.name);
    QCOMPARE(m_form->child<QLineEdit>("LEdit")->text(), respondent.name);
    form_driver::chooseSex(m_window, respondent.sex);
    QCOMPARE(m_form->child<QComboBox>("ComboBox1")->currentText(), respondent.sexText);
    form_driver::typeAge(m_window, QString::number(respondent.age));
    QTest::mouseClick(m_form->child<QPushButton>("Button4"), Qt::LeftButton);
    QVERIFY(m_form->child("Box1")->isVisible());
}

// `options[q - 1]` answers statement q; from statement `keysFrom` on by the keys 1, 2, 3.
// At the undone statement `wrongOption` is pressed first and taken back with the undo
// button.
void TestEndToEnd::keySheet(const QList<int> &options, int keysFrom, int wrongOption)
{
    for (int q = 1; q <= kStatements; ++q) {
        QCOMPARE(statementOnShow(), q);
        if (q == kUndoneStatement) {
            press(wrongOption, false);
            QCOMPARE(statementOnShow(), q + 1);
            QTest::mouseClick(m_form->child<QPushButton>("button5"), Qt::LeftButton);
            QCOMPARE(statementOnShow(), q);
        }
        if (q == kStatements) {
            m_keyingDay = QDate::currentDate();
            m_beforeLastPress = QDateTime::currentDateTime();
        }
        press(options[q - 1], q >= keysFrom);
        if (q == kUndoneStatement)
            QVERIFY2(m_window->sheet().answers.at(q) != 0, "the undone answer was kept");
    }
    m_afterLastPress = QDateTime::currentDateTime();
    QVERIFY(!m_form->child("Box1")->isVisible());
}

void TestEndToEnd::press(int option, bool byKey)
{
    if (byKey) {
        QTest::keyClick(m_window, Qt::Key(Qt::Key_0 + option));
        return;
    }
    QTest::mouseClick(form_driver::optionButton(m_window, option), Qt::LeftButton);
}

void TestEndToEnd::checkResultsShown(const Results &results)
{
    const QStringList latinLabels = {"A", "B", "C", "E", "F", "G", "H", "I",
                                     "L", "M", "N", "O", "Q1", "Q2", "Q3", "Q4"};
    const zorven::ProfileSeries &series = m_window->chart().series(0);
    QCOMPARE(series.pointCount(), 16);
    for (int k = 0; k < 16; ++k) {
        const QByteArray where = "factor " + latinLabels[k].toLatin1();
        QVERIFY2(series.value(k) == results.stens[k], where);
        QVERIFY2(series.label(k) == latinLabels[k], where);
    }
    QVERIFY(m_form->child("Chart1")->isVisible());
    QCOMPARE(m_form->child("Chart1")->geometry(), QRect(0, 0, 410, 260));

    const std::array<const char *, 4> names = {"RzLabel1", "RzLabel2", "RzLabel3", "RzLabel4"};
    const std::array<QPoint, 4> places = {QPoint(32, 264), QPoint(120, 264), QPoint(224, 264),
                                          QPoint(312, 264)};
    for (int f = 0; f < 4; ++f) {
        auto *label = m_form->child<QLabel>(names[f]);
        QCOMPARE(label->text(),
                 QStringLiteral("F%1 = ").arg(f + 1) + results.secondOrder[f]);
        QVERIFY2(label->isVisible(), names[f]);
        QCOMPARE(label->pos(), places[f]);
    }
    QVERIFY(m_form->child<QAction>("SaveReport")->isEnabled());
}

// False when keying it already failed the test.
bool TestEndToEnd::keyWomansSheet()
{
    enterRespondent(kWoman);
    if (!QTest::currentTestFailed())
        keySheet(optionsByTurns(), kNoKeys, 3);
    return !QTest::currentTestFailed();
}

QByteArray TestEndToEnd::womansReport() const
{
    return expectedReport(kWoman, kWomansResults, m_keyingDay);
}

void TestEndToEnd::keyedSheetGivesReportChartAndValues_data()
{
    QTest::addColumn<Respondent>("respondent");
    QTest::addColumn<QList<int>>("options");
    QTest::addColumn<int>("keysFrom");
    QTest::addColumn<int>("wrongOption");
    QTest::addColumn<Results>("results");

    // Option c of statement 10 scores nothing, while each row's own answer there scores,
    // so the record tells whether the undo let the right answer replace the wrong one.
    // Norm table 2, at the first age of its band; the last statements keyed by the keys.
    QTest::newRow("woman, 20") << kWoman << optionsByTurns() << 120 << 3 << kWomansResults;
    // Norm table 10, at the last age of its band and the oldest a man may have.
    QTest::newRow("man, 60")
        << Respondent{QStringLiteral("Sidorov"), zorven::Sex::Male, QStringLiteral("Мужской"), 60}
        << highestOptionsThenC() << kNoKeys << 3
        << Results{{6, 7, 8, 7, 10, 2, 7, 8, 8, 10, 8, 10, 10, 10, 7, 9},
                   {"7,6", "7,7", "4,9", "10,4"}};
}

void TestEndToEnd::keyedSheetGivesReportChartAndValues()
{
    QFETCH(Respondent, respondent);
    QFETCH(QList<int>, options);
    QFETCH(int, keysFrom);
    QFETCH(int, wrongOption);
    QFETCH(Results, results);

    enterRespondent(respondent);
    if (QTest::currentTestFailed())
        return;
    keySheet(options, keysFrom, wrongOption);
    if (QTest::currentTestFailed())
        return;

    const QString fileName = respondent.name + QStringLiteral(".txt");
    QCOMPARE(entriesOf(QDir::currentPath()), reportAndTable(fileName));
    QCOMPARE(fileBytes(fileName), expectedReport(respondent, results, m_keyingDay));
    checkResultsShown(results);
    QVERIFY(m_form->child("Label2")->isVisible());
    QCOMPARE(m_form->child<QLabel>("Label2")->text(), doneText(fileName));
    QVERIFY(m_dialogs.errorReports.isEmpty());
    checkTableRow(respondent, options, results, fileName);
    checkBatchGivesTheSameReport(fileName);

    QVERIFY(m_form->child<QAction>("OpenResultsTable")->isEnabled());
    m_form->child<QAction>("OpenResultsTable")->trigger();
    QCOMPARE(m_dialogs.openedTables,
             QStringList{QDir::current().absoluteFilePath(zorven::kResultsTableFileName)});
}

// One row for the sheet, agreeing with the report, scored within the last press.
void TestEndToEnd::checkTableRow(const Respondent &respondent, const QList<int> &options,
                                 const Results &results, const QString &reportName)
{
    const QByteArray table = fileBytes(zorven::kResultsTableFileName);
    const QByteArray start = "\xEF\xBB\xBF" + zorven::resultsTableHeader();
    QVERIFY(table.startsWith(start));
    const QByteArray scoredAt = table.mid(start.size(), 19);
    const QDateTime when = QDateTime::fromString(QString::fromLatin1(scoredAt), Qt::ISODate);
    QVERIFY2(when >= m_beforeLastPress.addMSecs(-m_beforeLastPress.time().msec())
                 && when <= m_afterLastPress,
             scoredAt);
    QCOMPARE(table, start + expectedRow(scoredAt, respondent, options, m_window->sheet().raw,
                                        results, reportName));
}

// The window's table scored again without a window: the same report, byte for byte, and
// the same row.
void TestEndToEnd::checkBatchGivesTheSameReport(const QString &fileName)
{
    QBuffer messages;
    QVERIFY(messages.open(QIODevice::WriteOnly));
    const QString out = m_elsewhere->filePath(QStringLiteral("batch"));
    QCOMPARE(zorven::runBatchScoring({"--score", zorven::kResultsTableFileName, "--out", out},
                                     messages, false),
             zorven::kBatchAllScored);
    QCOMPARE(messages.data(), QByteArray());
    QCOMPARE(fileBytes(out + u'/' + fileName), fileBytes(fileName));
    QCOMPARE(fileBytes(out + u'/' + zorven::kResultsTableFileName),
             fileBytes(zorven::kResultsTableFileName));
}

// The operator protected an earlier report of the same respondent: it stays, the keyed
// sheet is still shown and can be saved under another name.
void TestEndToEnd::readOnlyEarlierReportIsKeptAndTheSheetSavedElsewhere()
{
    QStringEncoder cp1251("windows-1251");
    const QByteArray earlier = cp1251(QStringLiteral("an earlier report\r\n\r\nФамилия: %1\r\n"
                                                     "Возраст (лет): %2\r\nПол: %3\r\n")
                                          .arg(kWoman.name)
                                          .arg(kWoman.age)
                                          .arg(kWoman.sexText));
    {
        QFile file(kWomansFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(earlier), earlier.size());
    }
    QVERIFY(QFile::setPermissions(kWomansFile, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

    if (!keyWomansSheet())
        return;

    QCOMPARE(m_dialogs.errorReports, QStringList{QStringLiteral("File access denied.")});
    QCOMPARE(m_dialogs.errorPaths, QStringList{QDir::current().absoluteFilePath(kWomansFile)});
    QCOMPARE(fileBytes(kWomansFile), earlier);
    QCOMPARE(entriesOf(QDir::currentPath()), reportAndTable(kWomansFile));
    QVERIFY2(fileBytes(zorven::kResultsTableFileName).endsWith(";\"4,2\";;;;\r\n"),
             "the row names a report that was not written");
    checkResultsShown(kWomansResults);
    QVERIFY(m_form->child("Label2")->isVisible());
    QCOMPARE(m_form->child<QLabel>("Label2")->text(), kNotWrittenText + kWomansFile);

    const QString copy = m_elsewhere->filePath(QStringLiteral("copy.txt"));
    m_dialogs.pathAnswers = {copy};
    m_form->child<QAction>("SaveReport")->trigger();

    QCOMPARE(m_dialogs.proposedPaths, QStringList{QDir::current().absoluteFilePath(kWomansFile)});
    QCOMPARE(m_dialogs.errorReports.size(), 1);
    QCOMPARE(fileBytes(copy), womansReport());
    QCOMPARE(entriesOf(m_elsewhere->path()), QStringList{"copy.txt"});
    QCOMPARE(fileBytes(kWomansFile), earlier);
    QVERIFY(m_form->child("Label2")->isVisible());
    QCOMPARE(m_form->child<QLabel>("Label2")->text(), doneText(copy));

    // The results are in a file now: closing is silent again.
    m_window->close();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_dialogs.unsavedQuestions, 0);
}

void TestEndToEnd::saveIntoMissingFolderFailsAndCanBeTriedAgain()
{
    if (!keyWomansSheet())
        return;
    QVERIFY(m_dialogs.errorReports.isEmpty());

    const QString missing = m_elsewhere->filePath(QStringLiteral("missing/copy.txt"));
    m_dialogs.pathAnswers = {missing};
    m_form->child<QAction>("SaveReport")->trigger();

    QCOMPARE(m_dialogs.errorReports, QStringList{QStringLiteral("File not found.")});
    QCOMPARE(entriesOf(m_elsewhere->path()), QStringList());
    QCOMPARE(m_form->child<QLabel>("Label2")->text(), doneText(kWomansFile));
    QVERIFY(m_form->child<QAction>("SaveReport")->isEnabled());

    const QString good = m_elsewhere->filePath(QStringLiteral("copy.txt"));
    m_dialogs.pathAnswers = {good};
    m_form->child<QAction>("SaveReport")->trigger();

    QCOMPARE(m_dialogs.errorReports.size(), 1);
    QCOMPARE(fileBytes(good), womansReport());
    QCOMPARE(fileBytes(kWomansFile), womansReport());
    QCOMPARE(m_form->child<QLabel>("Label2")->text(), doneText(good));
}

void TestEndToEnd::cancelledSaveWritesNothingAndSaysNothing()
{
    if (!keyWomansSheet())
        return;
    const QString shownBefore = m_form->child<QLabel>("Label2")->text();

    m_form->child<QAction>("SaveReport")->trigger();

    QCOMPARE(m_dialogs.proposedPaths.size(), 1);
    QVERIFY(m_dialogs.errorReports.isEmpty());
    QCOMPARE(entriesOf(QDir::currentPath()), reportAndTable(kWomansFile));
    QCOMPARE(entriesOf(m_elsewhere->path()), QStringList());
    QCOMPARE(fileBytes(kWomansFile), womansReport());
    QCOMPARE(m_form->child<QLabel>("Label2")->text(), shownBefore);
}

// Another user planted a link where the report goes: nothing is written through it, and
// the only copy of the results is on screen, so closing asks until it is in a file.
void TestEndToEnd::plantedLinkIsRefusedAndClosingAsksUntilTheSheetIsSaved()
{
    const QString victim = m_elsewhere->filePath(QStringLiteral("victim.txt"));
    const QByteArray victimBytes = "not the report's\r\n";
    {
        QFile file(victim);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(victimBytes), victimBytes.size());
    }
    QVERIFY(QFile::link(victim, kWomansFile));

    if (!keyWomansSheet())
        return;
    QCOMPARE(m_dialogs.errorReports, QStringList{QStringLiteral("File access denied.")});
    QCOMPARE(fileBytes(victim), victimBytes);
    QVERIFY(QFileInfo(kWomansFile).isSymLink());
    checkResultsShown(kWomansResults);

    const QString copy = m_elsewhere->filePath(QStringLiteral("copy.txt"));
    using Choice = Dialogs::UnsavedResultsChoice;
    m_dialogs.unsavedAnswers = {Choice::Stay, Choice::Save, Choice::Save};
    m_dialogs.pathAnswers = {QString(), copy};
    m_window->close();
    QVERIFY(m_window->isVisible());
    m_window->close(); // the save dialog is cancelled
    QVERIFY(m_window->isVisible());
    m_form->child<QAction>("N3")->trigger();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_dialogs.unsavedQuestions, 3);
    QCOMPARE(fileBytes(copy), womansReport());
    QCOMPARE(fileBytes(victim), victimBytes);
}

void TestEndToEnd::quittingWithoutSavingWritesNothing()
{
    QVERIFY(QDir().mkdir(kWomansFile));
    if (!keyWomansSheet())
        return;
    QCOMPARE(m_dialogs.errorReports, QStringList{QStringLiteral("File access denied.")});

    m_dialogs.unsavedAnswers = {Dialogs::UnsavedResultsChoice::Quit};
    m_form->child<QAction>("N3")->trigger();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_dialogs.unsavedQuestions, 1);
    QVERIFY(m_dialogs.proposedPaths.isEmpty());
    QCOMPARE(entriesOf(QDir::currentPath()), reportAndTable(kWomansFile));
}

// A table whose last line a stopped writer left without its line end: the line is ended,
// the window's row follows on a line of its own, and the operator is told once.
void TestEndToEnd::tornTableLineIsEndedAndTold()
{
    const QByteArray torn = zorven::kUtf8ByteOrderMark + zorven::resultsTableHeader() + "2026-12-08T09:05:07;Пет";
    {
        QFile file(zorven::kResultsTableFileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(torn), torn.size());
    }

    if (!keyWomansSheet())
        return;

    const QString table = QDir::current().absoluteFilePath(zorven::kResultsTableFileName);
    QCOMPARE(m_dialogs.tableNotices, QStringList{zorven::tornLineText(2, table)});
    QVERIFY(m_dialogs.tableFailures.isEmpty());
    const QByteArray bytes = fileBytes(zorven::kResultsTableFileName);
    QVERIFY(bytes.startsWith(torn + "\r\n"));
    QCOMPARE(bytes.count("\r\n"), 3);
}

// A file of the table's name that is not a results table stays as it was; the operator is
// told after the results are shown, and the report is written and can be saved again.
void TestEndToEnd::foreignTableIsReportedAfterTheResultsAndKept()
{
    const QByteArray foreign = "Класс;Оценка\r\n";
    {
        QFile file(zorven::kResultsTableFileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(foreign), foreign.size());
    }

    if (!keyWomansSheet())
        return;

    const QString table = QDir::current().absoluteFilePath(zorven::kResultsTableFileName);
    QCOMPARE(m_dialogs.tableFailures,
             QStringList{QStringLiteral("Строка результатов не добавлена в таблицу «%1»: файл с "
                                        "таким именем не является таблицей результатов (его "
                                        "первая строка другая), он оставлен без изменений.\n\n"
                                        "Результаты остаются на экране, отчёт можно сохранить "
                                        "командой «Тест → Сохранить отчёт…».")
                             .arg(QDir::toNativeSeparators(table))});
    QVERIFY(m_dialogs.resultsShownAtTableFailure);
    QVERIFY(m_dialogs.errorReports.isEmpty());
    QCOMPARE(fileBytes(zorven::kResultsTableFileName), foreign);
    QCOMPARE(fileBytes(kWomansFile), womansReport());
    checkResultsShown(kWomansResults);

    const QString copy = m_elsewhere->filePath(QStringLiteral("copy.txt"));
    m_dialogs.pathAnswers = {copy};
    m_form->child<QAction>("SaveReport")->trigger();
    QCOMPARE(fileBytes(copy), womansReport());
}

// Another copy of the program holds the table: the operator is told, and once that copy
// has let go, «Повторить» adds the very row the sheet would have had.
void TestEndToEnd::heldTableTakesTheRowWhenTriedAgain()
{
    QLockFile otherCopy(zorven::kResultsTableFileName + QStringLiteral(".lock"));
    QVERIFY(otherCopy.tryLock(0));
    m_dialogs.retryTable = [&] {
        const bool firstTime = otherCopy.isLocked();
        otherCopy.unlock();
        return firstTime;
    };

    if (!keyWomansSheet())
        return;

    QCOMPARE(m_dialogs.tableFailures.size(), 1);
    QVERIFY2(m_dialogs.tableFailures[0].contains(QStringLiteral("другая копия программы")),
             qPrintable(m_dialogs.tableFailures[0]));
    checkTableRow(kWoman, optionsByTurns(), kWomansResults, kWomansFile);
}

int main(int argc, char *argv[])
{
    return form_driver::execInRussianLocale<TestEndToEnd>(argc, argv);
}

#include "tst_end_to_end.moc"
