// Batch scoring of a results table: each kind of row it rejects, named with its line; the
// three spellings of the answers; report names a batch already used; the exit statuses.
// That a batch report is the window's report byte for byte is tested with the window
// (tests/ui/tst_end_to_end.cpp).

#include "batch/batch_scoring.h"
#include "results/results_table.h"
#include "results/table_records.h"
#include "test_files.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QProcess>
#include <QStringDecoder>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zorven;

namespace {

const QByteArray kInputHeader = "Дата;Фамилия;Пол;Возраст;Ответы\r\n";
// Started with this, the test program is a batch of its own, as a second user's would be.
constexpr const char *kBatchArgument = "--batch";
const QByteArray kWhen = "2026-12-08T10:00:00";

// Options a, b, c by turns from statement 1, spelt with the three given characters.
QByteArray answers(const QString &spelling)
{
    QString text;
    for (int q = 1; q <= kStatementCount; ++q)
        text += spelling[(q - 1) % 3];
    return text.toUtf8();
}

const QByteArray kLatin = answers(QStringLiteral("abc"));

QByteArray row(const QByteArray &surname, const QByteArray &sex, const QByteArray &age,
               const QByteArray &answerText = kLatin, const QByteArray &when = kWhen)
{
    return when + ';' + surname + ';' + sex + ';' + age + ';' + answerText + "\r\n";
}

bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList filesIn(const QString &path)
{
    return QDir(path).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// The output table's rows after the header, as fields; none unless it starts with our header.
QList<QStringList> outputTableRows(const QString &path)
{
    QByteArray bytes = fileBytes(path);
    if (!bytes.startsWith(kUtf8ByteOrderMark + resultsTableHeader()))
        return {};
    bytes.remove(0, kUtf8ByteOrderMark.size() + resultsTableHeader().size());
    QList<QStringList> rows;
    for (const TableRecord &record : tableRecords(QString::fromUtf8(bytes)))
        rows << record.fields;
    return rows;
}

} // namespace

class TestBatchScoring : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void invalidRowsNamedWithTheirLines();
    void anySpellingScoredAndSameNamesNumbered();
    void verificationCopiedThrough();
    void columnTakenOnlyUnderItsHeader();
    void laterRowOfTheSameReportSupersedesIt();
    void twoBatchesWithOneSurnameKeepEveryReport();
    void handEditOfLetterCaseLeavesARowKept();
    void formulaMarkedInTheTableOnly();
    void cannotRun_data();
    void cannotRun();

private:
    int score(const QStringList &arguments);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    QBuffer m_messages;
};

void TestBatchScoring::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_messages.close();
    m_messages.setData({});
    QVERIFY(m_messages.open(QIODevice::WriteOnly));
}

void TestBatchScoring::cleanup()
{
    QDir::setCurrent(m_previousDir);
}

int TestBatchScoring::score(const QStringList &arguments)
{
    return runBatchScoring(arguments, m_messages, false);
}

// Every rejected row is named with the line it starts on, also after a row whose quoted
// surname spans two lines; the other rows are still scored. A surname's line break
// becomes a blank, as in the window's name field.
void TestBatchScoring::invalidRowsNamedWithTheirLines()
{
    QByteArray input = kInputHeader;
    input += row("Первая", "Женский", "20");                                     // line 2
    input += row("\"Вторая\r\nстрока\"", "Мужской", "30");                       // 3 and 4
    input += row("Пол", "м", "20");                                               // 5
    input += row("Дробь", "Женский", "2O");                                       // 6
    input += row("Старше", "Женский", "56");                                      // 7
    input += row("Младше", "Мужской", "15");                                      // 8
    input += row("Короче", "Мужской", "30", kLatin.left(186));                   // 9
    input += row("Буква", "Мужской", "30", "abcad" + kLatin.mid(5));             // 10
    input += kWhen + ";Мало;Женский;20\r\n";                                      // 11
    input += row("Дата", "Женский", "20", kLatin, "08.12.2026 10:00");            // 12
    input += row("Склеена", "Женский", "20", kLatin + ";" + kWhen);               // 13
    input += row("Знак\x01", "Женский", "20");                                    // 14
    input += row("В", "Женский", "20", answers(QStringLiteral("abв")));           // 15
    input += row("Оба", "Женский", "20", answers(QStringLiteral("бсв")));         // 16
    input += kWhen + ";\"Кавычка;Женский;20;" + kLatin + "\r\n";                  // 17
    input += row("Последняя", "Женский", "20");
    QVERIFY(putFile("in.csv", input));

    QCOMPARE(score({"--score", "in.csv", "--out", "out"}), kBatchRowsRejected);

    const QString ambiguous = QStringLiteral("ответ на утверждение 3 «в» неоднозначен: по алфавиту "
                                             "(а, б, в) это c, по подсказкам кнопок (А, В, С) это b, "
                                             "а в строке ");
    QCOMPARE(QString::fromUtf8(m_messages.data()),
             QStringLiteral("in.csv:5: пол «м» не «Мужской» и не «Женский»\n"
                            "in.csv:6: возраст «2O» не целое число\n"
                            "in.csv:7: возраст 56 вне пределов 16..55 для пола «Женский»\n"
                            "in.csv:8: возраст 15 вне пределов 16..60 для пола «Мужской»\n"
                            "in.csv:9: ответов 186, а нужно 187\n"
                            "in.csv:10: ответ на утверждение 5 «d» не a, b или c (а, б, в, с; 1, 2, 3)\n"
                            "in.csv:11: столбцов 4, а в строке заголовка 5\n"
                            "in.csv:12: дата «08.12.2026 10:00» не в виде ГГГГ-ММ-ДДTчч:мм:сс\n"
                            "in.csv:13: столбцов 6, а в строке заголовка 5\n"
                            "in.csv:14: в фамилии знак U+0001, которого не может быть в отчёте\n"
                            "in.csv:15: ")
                 + ambiguous + QStringLiteral("нет ни «б», ни «с»\nin.csv:16: ") + ambiguous
                 + QStringLiteral("есть и «б», и «с»\nin.csv:17: кавычка не закрыта до конца файла\n"));
    QCOMPARE(filesIn("out"), QStringList({"zorven-results.csv", "Вторая строка.txt", "Первая.txt"}));
    const QList<QStringList> rows = outputTableRows("out/zorven-results.csv");
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0][1], QStringLiteral("Первая"));
    QCOMPARE(rows[1][1], QStringLiteral("Вторая строка"));
    QCOMPARE(rows[1][41], QStringLiteral("Вторая строка.txt"));
}

// One sheet four times, its answers spelt each way mark-reading software exports them
// (Cyrillic в by the alphabet beside б, by the buttons' hints beside с) and its lines
// ended with CR, LF and CR LF as spreadsheets write them: four equal reports, none
// replacing another, and column 42 saying where each went.
void TestBatchScoring::anySpellingScoredAndSameNamesNumbered()
{
    QVERIFY(putFile("in.csv", kInputHeader + row("Иванов", "Мужской", "30", kLatin).chopped(1)
                                  + row("Иванов", "мужской", "30", answers("АбВ")).replace("\r\n", "\n")
                                  + row("Иванов", "Мужской", "30", answers("АВС"))
                                  + row("Иванов", "Мужской", "30", answers("123"))));

    QCOMPARE(score({"--out", "out", "--score", "in.csv"}), kBatchAllScored);

    QCOMPARE(m_messages.data(), QByteArray());
    const QStringList reports = {"Иванов.txt", "Иванов (2).txt", "Иванов (3).txt", "Иванов (4).txt"};
    QCOMPARE(filesIn("out").size(), 5);
    for (const QString &report : reports)
        QCOMPARE(fileBytes("out/" + report), fileBytes("out/Иванов.txt"));
    const QList<QStringList> rows = outputTableRows("out/zorven-results.csv");
    QCOMPARE(rows.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(rows[i].size(), kResultsTableColumns);
        QCOMPARE(rows[i][2], QStringLiteral("Мужской"));
        QCOMPARE(rows[i][4], QString::fromLatin1(kLatin));
        QCOMPARE(rows[i][41], reports[i]);
        QCOMPARE(rows[i].mid(0, 41), rows[0].mid(0, 41));
    }
}

// How a sheet was keyed and checked is the keying's record: a table the window wrote,
// scored again, keeps columns 43 to 45 as they were.
void TestBatchScoring::verificationCopiedThrough()
{
    const QByteArray firstKeying = row("Иванов", "Мужской", "30", kLatin).chopped(2)
        + QByteArray(kVerificationColumn - 4, ';') + ";скан;\r\n";
    const QByteArray verified = row("Иванов", "Мужской", "30", kLatin).chopped(2)
        + QByteArray(kVerificationColumn - 4, ';') + "\"проверен, исправлено 2\";экран;12\r\n";
    QVERIFY(putFile("in.csv", resultsTableHeader() + firstKeying + verified));

    QCOMPARE(score({"--score", "in.csv", "--out", "out"}), kBatchAllScored);

    const QList<QStringList> rows = outputTableRows("out/zorven-results.csv");
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].mid(kVerificationColumn), QStringList({"", "скан", ""}));
    QCOMPARE(rows[1].mid(kVerificationColumn), QStringList({"проверен, исправлено 2", "экран", "12"}));
}

// Another program's column 43 is not «Проверка» unless its header says so.
void TestBatchScoring::columnTakenOnlyUnderItsHeader()
{
    const QByteArray header = kInputHeader.chopped(2) + QByteArray(";x").repeated(37) + ";Примечание\r\n";
    QVERIFY(putFile("in.csv", header + row("Иванов", "Мужской", "30").chopped(2) + QByteArray(37, ';')
                                  + ";проверен\r\n"));

    QCOMPARE(score({"--score", "in.csv", "--out", "out"}), kBatchAllScored);

    QCOMPARE(outputTableRows("out/zorven-results.csv").front()[kVerificationColumn], QString());
}

// A verification row names its first keying's report: scored again, it takes that report
// over, as in the window, and the report holds the verified answers.
void TestBatchScoring::laterRowOfTheSameReportSupersedesIt()
{
    const QByteArray corrected = "c" + kLatin.mid(1);
    const QByteArray empty(kVerificationColumn - 6, ';');
    const QByteArray firstKeying = row("Иванов", "Мужской", "30").chopped(2) + empty + ";Иванов.txt;;;\r\n";
    const QByteArray verified =
        row("Иванов", "Мужской", "30", corrected).chopped(2) + empty + ";Иванов.txt;\"проверен, исправлено 1\";;\r\n";
    // Another respondent's row copied by hand with column 42 as it was supersedes nothing.
    const QByteArray copied = row("Петров", "Мужской", "30").chopped(2) + empty + ";Иванов.txt;;;\r\n";
    QVERIFY(putFile("in.csv", resultsTableHeader() + firstKeying + verified + copied));
    QVERIFY(putFile("alone.csv", resultsTableHeader() + verified));

    QCOMPARE(score({"--score", "in.csv", "--out", "out"}), kBatchAllScored);
    QCOMPARE(score({"--score", "alone.csv", "--out", "alone"}), kBatchAllScored);

    QCOMPARE(filesIn("out"), QStringList({"zorven-results.csv", "Иванов.txt", "Петров.txt"}));
    QCOMPARE(fileBytes("out/Иванов.txt"), fileBytes("alone/Иванов.txt"));
    const QList<QStringList> rows = outputTableRows("out/zorven-results.csv");
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0][41], QStringLiteral("Иванов.txt"));
    QCOMPARE(rows[1][41], QStringLiteral("Иванов.txt"));
    QCOMPARE(rows[2][41], QStringLiteral("Петров.txt"));
}

// Two batches with one surname, run at once into one folder: each report is written under
// a name of its own, never over the other batch's, and each row names its own report.
void TestBatchScoring::twoBatchesWithOneSurnameKeepEveryReport()
{
    constexpr int kRowsEach = 30;
    QList<QProcess *> batches;
    for (const QByteArray day : {"08", "09"}) {
        QByteArray input = kInputHeader;
        for (int i = 0; i < kRowsEach; ++i)
            input += row("Общий", "Мужской", QByteArray::number(20 + i), kLatin, "2026-12-" + day + "T10:00:00");
        QVERIFY(putFile(day + ".csv", input));
        auto *batch = new QProcess(this);
        batch->start(QCoreApplication::applicationFilePath(),
                     {kBatchArgument, "--score", day + ".csv", "--out", "out"});
        batches << batch;
    }
    for (QProcess *batch : batches) {
        QVERIFY(batch->waitForFinished(60'000));
        QCOMPARE(batch->readAllStandardError(), QByteArray());
        QCOMPARE(batch->exitCode(), kBatchAllScored);
    }

    const QList<QStringList> rows = outputTableRows("out/zorven-results.csv");
    QCOMPARE(rows.size(), 2 * kRowsEach);
    QSet<QString> names;
    for (const QStringList &fields : rows) {
        names.insert(fields[41]);
        QStringDecoder cp1251("windows-1251");
        const QString report = cp1251(fileBytes("out/" + fields[41]));
        const QString date = fields[0].mid(8, 2) + u'.' + fields[0].mid(5, 2);
        QVERIFY2(report.contains(QStringLiteral("Возраст (лет): %1\r\n").arg(fields[3])) && report.contains(date),
                 qPrintable(fields[41]));
    }
    QCOMPARE(names.size(), 2 * kRowsEach);
}

// The table's rows are read as the input's are: a row whose sex was retyped in lower case
// by hand is still the sheet the input holds, and is not scored a second time.
void TestBatchScoring::handEditOfLetterCaseLeavesARowKept()
{
    QVERIFY(putFile("in.csv", kInputHeader + row("Иванов", "Мужской", "30", answers("АБС"))));
    QCOMPARE(score({"--score", "in.csv", "--out", "out"}), kBatchAllScored);
    const QByteArray table = fileBytes("out/zorven-results.csv");
    QVERIFY(putFile("out/zorven-results.csv", QByteArray(table).replace(";Мужской;", ";мужской;")));

    QCOMPARE(score({"--score", "in.csv", "--out", "out"}), kBatchAllScored);

    QCOMPARE(outputTableRows("out/zorven-results.csv").size(), 1);
    QVERIFY(m_messages.data().endsWith("после прежнего запуска: 1\n"));
}

// A surname a spreadsheet would take for a formula is marked in the table only: the
// report and its name keep it as typed, and the table scored again gives the same bytes.
void TestBatchScoring::formulaMarkedInTheTableOnly()
{
    QVERIFY(putFile("in.csv", kInputHeader + row("=1+2", "Женский", "20")));

    QCOMPARE(score({"--score", "in.csv", "--out", "out"}), kBatchAllScored);
    QCOMPARE(score({"--score", "out/zorven-results.csv", "--out", "again"}), kBatchAllScored);

    const QList<QStringList> rows = outputTableRows("out/zorven-results.csv");
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0][1], QStringLiteral("'=1+2"));
    QCOMPARE(rows[0][41], QStringLiteral("'=1+2.txt"));
    QVERIFY(fileBytes("out/=1+2.txt").contains("=1+2"));
    QCOMPARE(fileBytes("again/zorven-results.csv"), fileBytes("out/zorven-results.csv"));
    QCOMPARE(fileBytes("again/=1+2.txt"), fileBytes("out/=1+2.txt"));
}

void TestBatchScoring::cannotRun_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("message");

    const QStringList usual = {"--score", "in.csv", "--out", "out"};
    const QByteArray good = kInputHeader + row("Иванов", "Мужской", "30");
    const QString usage = QStringLiteral("Использование: zorventest --score ТАБЛИЦА.csv --out ПАПКА\n");

    QTest::newRow("no --out")
        << QStringList{"--score", "in.csv"} << good
        << "zorventest: не указан параметр --out ПАПКА: куда записать отчёты и новую таблицу\n" + usage;
    QTest::newRow("no --score")
        << QStringList{"--out", "out"} << good
        << "zorventest: не указан параметр --score ТАБЛИЦА.csv: какую таблицу оценить\n" + usage;
    QTest::newRow("unknown option") << QStringList{"--score", "in.csv", "--to", "out"} << good
                                    << "zorventest: неизвестный параметр «--to»\n" + usage;
    QTest::newRow("--score twice") << QStringList{"--score", "in.csv", "--score", "out"} << good
                                   << "zorventest: параметр --score указан дважды\n" + usage;
    QTest::newRow("empty value") << QStringList{"--score", "", "--out", "out"} << good
                                 << "zorventest: у параметра --score пустое значение\n" + usage;
    QTest::newRow("no input") << QStringList{"--score", "none.csv", "--out", "out"} << good
                              << QStringLiteral("none.csv: файл не прочитан: файл не найден\n");
    QTest::newRow("not UTF-8") << usual << QByteArray("\xC4\xE0\xF2\xE0;x\r\n")
                               << QStringLiteral("in.csv: файл не в кодировке UTF-8\n");
    QTest::newRow("empty input") << usual << QByteArray()
                                 << QStringLiteral("in.csv: нет строки заголовка\n");
    QTest::newRow("no header") << usual << row("Иванов", "Мужской", "30")
                               << QStringLiteral("in.csv:1: первая строка — данные, а нужна строка заголовка\n");
    QTest::newRow("no header, first date bad")
        << usual << row("Иванов", "Мужской", "30", kLatin, "08.12.2026") + row("Петров", "Мужской", "30")
        << QStringLiteral("in.csv:1: первая строка — данные, а нужна строка заголовка\n");
    QTest::newRow("header only") << usual << kInputHeader << QStringLiteral("in.csv: в файле нет строк данных\n");
    QTest::newRow("header's quote unclosed")
        << usual << "Дата;\"Фамилия;Пол\r\n" + row("Иванов", "Мужской", "30")
        << QStringLiteral("in.csv: кавычка в строке заголовка не закрыта до конца файла, строки "
                          "данных не прочитаны\n");
    QTest::newRow("output is a file") << QStringList{"--score", "in.csv", "--out", "in.csv"} << good
                                      << QStringLiteral("in.csv: папка не создана\n");
    QTest::newRow("foreign table in the output")
        << QStringList{"--score", "in.csv", "--out", "."} << good
        << QStringLiteral("Строка результатов не добавлена в таблицу «%1»: файл с таким именем "
                          "не является таблицей результатов (его первая строка другая), он "
                          "оставлен без изменений.\n");
}

// Nothing is written when the batch cannot run, and the message says why.
void TestBatchScoring::cannotRun()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QString, message);
    QVERIFY(putFile("in.csv", input));
    const QByteArray foreign = "Имя;Возраст\r\n";
    QVERIFY(putFile(kResultsTableFileName, foreign));

    QCOMPARE(score(arguments), kBatchCannotRun);

    const QString table = QDir::toNativeSeparators(QDir::current().absoluteFilePath(kResultsTableFileName));
    QCOMPARE(QString::fromUtf8(m_messages.data()), QString(message).replace("%1", table));
    QCOMPARE(filesIn("."), QStringList({"in.csv", kResultsTableFileName}));
    QCOMPARE(fileBytes(kResultsTableFileName), foreign);
}

// Reports written in a Russian locale, as the users' machines have it.
int main(int argc, char *argv[])
{
    qputenv("LC_ALL", "ru_RU.UTF-8");
    QCoreApplication application(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], kBatchArgument) == 0) {
        QFile messages;
        if (!messages.open(stderr, QIODevice::WriteOnly))
            return kBatchCannotRun;
        return runBatchScoring(application.arguments().mid(2), messages, false);
    }
    TestBatchScoring test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_batch_scoring.moc"
