// The whole road, as an operator in a Russian locale walks it: the respondent data typed
// into the real main window, a whole sheet keyed with one undo on the way, and then the
// report file byte for byte, the profile chart and the four values, and the sheet's row of
// the results table, which batch scoring turns back into the same report. Then the
// failures of writing the report or the row, none of which may lose the keyed sheet.
//
// The expected stens and second-order values were worked out by hand from the answer key
// and the norm tables, not with this program's code.

#include "app/Unit1.h"
#include "app/age_field.h"
#include "app/dialogs.h"
#include "app/zorven.h"
#include "questionnaire/answer_key.h"
#include "results/batch_scoring.h"
#include "results/results_table.h"
#include "ui/form_driver.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <memory>

namespace {

constexpr int kStatements = 187;
// The statement at which the operator presses a wrong option and takes it back.
constexpr int kUndoneStatement = 10;
constexpr int kNoKeys = kStatements + 1;

const QString kDoneText = QStringLiteral("Результаты тестирования находятся в файле - ");

// Answers the modal questions in place of the operator and remembers what was asked.
class ScriptedDialogs : public Dialogs
{
public:
    QStringList errorReports;
    QStringList proposedPaths;
    QStringList tableFailures;
    bool resultsShownAtTableFailure = false;
    QStringList openedTables;
    const QWidget *chart = nullptr;
    // What the save dialog answers, one per showing; an empty answer is a cancel.
    QStringList pathAnswers;

    void showErrorReport(QWidget *, const QString &message) override { errorReports << message; }

    void showResultsTableFailure(QWidget *, const QString &message) override
    {
        tableFailures << message;
        resultsShownAtTableFailure = chart && chart->isVisible();
    }

    void openResultsTable(const QString &path) override { openedTables << path; }

    QString askReportPath(QWidget *, const QString &proposedPath) override
    {
        proposedPaths << proposedPath;
        return pathAnswers.isEmpty() ? QString() : pathAnswers.takeFirst();
    }
};

struct Respondent
{
    QString name;
    int sexIndex;
    QString sexText;
    int age;
};

struct Results
{
    QList<int> stens;
    QStringList secondOrder; // as a Russian locale writes them
};

QByteArray cp1251(const QString &text)
{
    QStringEncoder encoder("windows-1251");
    const QByteArray bytes = encoder.encode(text);
    if (!encoder.isValid() || encoder.hasError())
        qFatal("not a code page 1251 text");
    return bytes;
}

// The labels of the sten lines, byte for byte: A B C E H M O are Cyrillic letters.
const std::array<QByteArray, 16> kStenLineLabels = {
    "\xC0 \t", "\xC2 \t", "\xD1 \t", "\xC5 \t", "F \t", "G \t",  "\xCD \t", "I \t",
    "L \t",    "\xCC \t", "N \t",    "\xCE \t", "Q1\t", "Q2\t", "Q3\t",    "Q4\t",
};

QByteArray expectedReport(const Respondent &respondent, const Results &results, const QDate &date)
{
    QByteArray report;
    const auto line = [&report](const QByteArray &bytes) { report += bytes + "\r\n"; };
    line(cp1251(QStringLiteral("Результаты теста Зорвенна - Форма А")));
    line("");
    line(cp1251(QStringLiteral("Фамилия: ") + respondent.name));
    line(cp1251(QStringLiteral("Возраст (лет): ") + QString::number(respondent.age)));
    line(cp1251(QStringLiteral("Пол: ") + respondent.sexText));
    line(cp1251(QStringLiteral("Дата проведения: ") + date.toString(QStringLiteral("dd.MM.yyyy"))));
    line("");
    line(cp1251(QStringLiteral("Результаты по шкалам (Стены)")));
    for (int k = 0; k < 16; ++k)
        line(kStenLineLabels[k] + QByteArray::number(results.stens[k]));
    line("");
    line(cp1251(QStringLiteral("Дополнительные факторы второго порядка")));
    for (int f = 0; f < 4; ++f)
        line("F" + QByteArray::number(f + 1) + "\t" + results.secondOrder[f].toLatin1());
    return report;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<cannot read " + path.toUtf8() + ">";
    return file.readAll();
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
        fields << value.toUtf8();
    fields << reportName.toUtf8();
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

const Respondent kWoman{QStringLiteral("Петрова А.В."), 1, QStringLiteral("Женский"), 20};
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
    void foreignTableIsReportedAfterTheResultsAndKept();

private:
    template<typename T = QWidget>
    T *child(const char *name) const
    {
        return form_driver::child<T>(m_window, name);
    }
    void enterRespondent(const Respondent &respondent);
    void chooseSex(int index);
    void typeAge(int age);
    void keySheet(const QList<int> &options, int keysFrom, int wrongOption);
    void press(int option, bool byKey);
    int statementOnShow() const;
    void checkResultsShown(const Results &results);
    void checkTableRow(const Respondent &respondent, const QList<int> &options,
                       const Results &results, const QString &reportName);
    void checkBatchGivesTheSameReport(const QString &fileName);
    void keyWomansSheet();
    QByteArray womansReport() const;

    TForm1 *m_window = nullptr;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    QTemporaryDir *m_workDir = nullptr;
    QTemporaryDir *m_elsewhere = nullptr;
    QString m_previousDir;
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
    m_workDir = new QTemporaryDir;
    m_elsewhere = new QTemporaryDir;
    QVERIFY(m_workDir->isValid() && m_elsewhere->isValid());
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_workDir->path()));

    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_window = new TForm1;
    auto *aboutBox = new TAboutBox(m_window);
    m_window->setAboutBox(aboutBox);
    m_window->setDialogs(m_dialogs.get());
    m_dialogs->chart = child("Chart1");
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestEndToEnd::cleanup()
{
    delete m_window;
    QVERIFY(QDir::setCurrent(m_previousDir));
    delete m_elsewhere;
    delete m_workDir;
}

void TestEndToEnd::enterRespondent(const Respondent &respondent)
{
    form_driver::typeText(child<QLineEdit>("LEdit"), respondent.name);
    QCOMPARE(child<QLineEdit>("LEdit")->text(), respondent.name);
    chooseSex(respondent.sexIndex);
    QCOMPARE(child<QComboBox>("ComboBox1")->currentText(), respondent.sexText);
    typeAge(respondent.age);
    QTest::mouseClick(child<QPushButton>("Button4"), Qt::LeftButton);
    QVERIFY(child("Box1")->isVisible());
}

void TestEndToEnd::chooseSex(int index)
{
    form_driver::chooseSex(m_window, index);
    QCOMPARE(child<QComboBox>("ComboBox1")->currentIndex(), index);
}

void TestEndToEnd::typeAge(int age)
{
    form_driver::typeAge(m_window, QString::number(age));
    QCOMPARE(child<AgeField>("SpinEdit1")->text(), QString::number(age));
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
            QTest::mouseClick(child<QPushButton>("button5"), Qt::LeftButton);
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
    QVERIFY(!child("Box1")->isVisible());
}

void TestEndToEnd::press(int option, bool byKey)
{
    if (byKey) {
        QTest::keyClick(m_window, Qt::Key(Qt::Key_0 + option));
        return;
    }
    const char *names[] = {"Button1", "Button2", "Button3"};
    QTest::mouseClick(child<QPushButton>(names[option - 1]), Qt::LeftButton);
}

int TestEndToEnd::statementOnShow() const
{
    const QString caption = child<QGroupBox>("Box2")->title();
    const QString prefix = QStringLiteral("Утверждение № ");
    if (!caption.startsWith(prefix))
        qFatal("unexpected statement caption");
    return caption.sliced(prefix.size()).toInt();
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
    QVERIFY(child("Chart1")->isVisible());
    QCOMPARE(child("Chart1")->geometry(), QRect(0, 0, 410, 260));

    const std::array<const char *, 4> names = {"RzLabel1", "RzLabel2", "RzLabel3", "RzLabel4"};
    const std::array<QPoint, 4> places = {QPoint(32, 264), QPoint(120, 264), QPoint(224, 264),
                                          QPoint(312, 264)};
    for (int f = 0; f < 4; ++f) {
        auto *label = child<QLabel>(names[f]);
        QCOMPARE(label->text(),
                 QStringLiteral("F%1 = ").arg(f + 1) + results.secondOrder[f]);
        QVERIFY2(label->isVisible(), names[f]);
        QCOMPARE(label->pos(), places[f]);
    }
    QVERIFY(child<QAction>("SaveReport")->isEnabled());
}

void TestEndToEnd::keyWomansSheet()
{
    enterRespondent(kWoman);
    if (QTest::currentTestFailed())
        return;
    keySheet(optionsByTurns(), kNoKeys, 3);
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
        << Respondent{QStringLiteral("Sidorov"), 0, QStringLiteral("Мужской"), 60}
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
    QVERIFY(child("Label2")->isVisible());
    QCOMPARE(child<QLabel>("Label2")->text(), kDoneText + fileName);
    QVERIFY(m_dialogs->errorReports.isEmpty());
    checkTableRow(respondent, options, results, fileName);
    checkBatchGivesTheSameReport(fileName);

    QVERIFY(child<QAction>("OpenResultsTable")->isEnabled());
    child<QAction>("OpenResultsTable")->trigger();
    QCOMPARE(m_dialogs->openedTables,
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

// The operator protected an earlier report: it stays, the keyed sheet is still shown and
// can be saved under another name.
void TestEndToEnd::readOnlyEarlierReportIsKeptAndTheSheetSavedElsewhere()
{
    const QString fileName = kWoman.name + QStringLiteral(".txt");
    const QByteArray earlier = "an earlier report\r\n";
    {
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(earlier), earlier.size());
    }
    QVERIFY(QFile::setPermissions(fileName, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

    keyWomansSheet();
    if (QTest::currentTestFailed())
        return;

    QCOMPARE(m_dialogs->errorReports, QStringList{QStringLiteral("File access denied.")});
    QCOMPARE(fileBytes(fileName), earlier);
    QCOMPARE(entriesOf(QDir::currentPath()), reportAndTable(fileName));
    QVERIFY2(fileBytes(zorven::kResultsTableFileName).endsWith(";4,2;\r\n"),
             "the row names a report that was not written");
    checkResultsShown(kWomansResults);
    QVERIFY(!child("Label2")->isVisible());

    const QString copy = m_elsewhere->filePath(QStringLiteral("copy.txt"));
    m_dialogs->pathAnswers = {copy};
    child<QAction>("SaveReport")->trigger();

    QCOMPARE(m_dialogs->proposedPaths, QStringList{QDir::current().absoluteFilePath(fileName)});
    QCOMPARE(m_dialogs->errorReports.size(), 1);
    QCOMPARE(fileBytes(copy), womansReport());
    QCOMPARE(entriesOf(m_elsewhere->path()), QStringList{"copy.txt"});
    QCOMPARE(fileBytes(fileName), earlier);
    QVERIFY(child("Label2")->isVisible());
    QCOMPARE(child<QLabel>("Label2")->text(), kDoneText + copy);
}

void TestEndToEnd::saveIntoMissingFolderFailsAndCanBeTriedAgain()
{
    keyWomansSheet();
    if (QTest::currentTestFailed())
        return;
    const QString fileName = kWoman.name + QStringLiteral(".txt");
    QVERIFY(m_dialogs->errorReports.isEmpty());

    const QString missing = m_elsewhere->filePath(QStringLiteral("missing/copy.txt"));
    m_dialogs->pathAnswers = {missing};
    child<QAction>("SaveReport")->trigger();

    QCOMPARE(m_dialogs->errorReports, QStringList{QStringLiteral("File not found.")});
    QCOMPARE(entriesOf(m_elsewhere->path()), QStringList());
    QCOMPARE(child<QLabel>("Label2")->text(), kDoneText + fileName);
    QVERIFY(child<QAction>("SaveReport")->isEnabled());

    const QString good = m_elsewhere->filePath(QStringLiteral("copy.txt"));
    m_dialogs->pathAnswers = {good};
    child<QAction>("SaveReport")->trigger();

    QCOMPARE(m_dialogs->errorReports.size(), 1);
    QCOMPARE(fileBytes(good), womansReport());
    QCOMPARE(fileBytes(fileName), womansReport());
    QCOMPARE(child<QLabel>("Label2")->text(), kDoneText + good);
}

void TestEndToEnd::cancelledSaveWritesNothingAndSaysNothing()
{
    keyWomansSheet();
    if (QTest::currentTestFailed())
        return;
    const QString fileName = kWoman.name + QStringLiteral(".txt");
    const QString shownBefore = child<QLabel>("Label2")->text();

    child<QAction>("SaveReport")->trigger();

    QCOMPARE(m_dialogs->proposedPaths.size(), 1);
    QVERIFY(m_dialogs->errorReports.isEmpty());
    QCOMPARE(entriesOf(QDir::currentPath()), reportAndTable(fileName));
    QCOMPARE(entriesOf(m_elsewhere->path()), QStringList());
    QCOMPARE(fileBytes(fileName), womansReport());
    QCOMPARE(child<QLabel>("Label2")->text(), shownBefore);
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

    keyWomansSheet();
    if (QTest::currentTestFailed())
        return;

    const QString table = QDir::current().absoluteFilePath(zorven::kResultsTableFileName);
    QCOMPARE(m_dialogs->tableFailures,
             QStringList{QStringLiteral("Строка результатов не добавлена в таблицу «%1»: файл с "
                                        "таким именем не является таблицей результатов (его "
                                        "первая строка другая), он оставлен без изменений.\n\n"
                                        "Результаты остаются на экране, отчёт можно сохранить "
                                        "командой «Тест → Сохранить отчёт…».")
                             .arg(QDir::toNativeSeparators(table))});
    QVERIFY(m_dialogs->resultsShownAtTableFailure);
    QVERIFY(m_dialogs->errorReports.isEmpty());
    QCOMPARE(fileBytes(zorven::kResultsTableFileName), foreign);
    QCOMPARE(fileBytes(kWoman.name + QStringLiteral(".txt")), womansReport());
    checkResultsShown(kWomansResults);

    const QString copy = m_elsewhere->filePath(QStringLiteral("copy.txt"));
    m_dialogs->pathAnswers = {copy};
    child<QAction>("SaveReport")->trigger();
    QCOMPARE(fileBytes(copy), womansReport());
}

// The locale is chosen before the application exists: Qt reads the system locale from
// these variables once, at start.
int main(int argc, char *argv[])
{
    qputenv("LC_ALL", "ru_RU.UTF-8");
    QApplication application(argc, argv);
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    TestEndToEnd test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_end_to_end.moc"
