// The report's bytes: the whole 30 lines, the name cut and the general number form.

#include "results/general_number.h"
#include "results/regional_settings.h"
#include "results/report.h"

#include <QTest>

using namespace zorven;

namespace {

// Written out byte for byte (code page 1251), not built by the code under test.
const char kCommaLocaleReport[] =
    "\xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2\xFB \xF2\xE5\xF1\xF2\xE0 \xC7\xEE\xF0\xE2\xE5\xED\xED\xE0 - \xD4\xEE\xF0\xEC\xE0 \xC0\r\n"
    "\r\n"
    "\xD4\xE0\xEC\xE8\xEB\xE8\xFF: \xD1\xE8\xE4\xEE\xF0\xEE\xE2\xE0 \xC0.\xC1.\r\n"
    "\xC2\xEE\xE7\xF0\xE0\xF1\xF2 (\xEB\xE5\xF2): 42\r\n"
    "\xCF\xEE\xEB: \xC6\xE5\xED\xF1\xEA\xE8\xE9\r\n"
    "\xC4\xE0\xF2\xE0 \xEF\xF0\xEE\xE2\xE5\xE4\xE5\xED\xE8\xFF: 05.03.2024\r\n"
    "\r\n"
    "\xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2\xFB \xEF\xEE \xF8\xEA\xE0\xEB\xE0\xEC (\xD1\xF2\xE5\xED\xFB)\r\n"
    "\xC0 \t7\r\n"
    "\xC2 \t3\r\n"
    "\xD1 \t10\r\n"
    "\xC5 \t1\r\n"
    "F \t5\r\n"
    "G \t6\r\n"
    "\xCD \t8\r\n"
    "I \t2\r\n"
    "L \t9\r\n"
    "\xCC \t4\r\n"
    "N \t0\r\n"
    "\xCE \t6\r\n"
    "Q1\t5\r\n"
    "Q2\t7\r\n"
    "Q3\t3\r\n"
    "Q4\t10\r\n"
    "\r\n"
    "\xC4\xEE\xEF\xEE\xEB\xED\xE8\xF2\xE5\xEB\xFC\xED\xFB\xE5 \xF4\xE0\xEA\xF2\xEE\xF0\xFB \xE2\xF2\xEE\xF0\xEE\xE3\xEE \xEF\xEE\xF0\xFF\xE4\xEA\xE0\r\n"
    "F1\t6,8\r\n"
    "F2\t5\r\n"
    "F3\t-1,7\r\n"
    "F4\t0\r\n";

const char kFullStopLocaleReport[] =
    "\xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2\xFB \xF2\xE5\xF1\xF2\xE0 \xC7\xEE\xF0\xE2\xE5\xED\xED\xE0 - \xD4\xEE\xF0\xEC\xE0 \xC0\r\n"
    "\r\n"
    "\xD4\xE0\xEC\xE8\xEB\xE8\xFF: \xD1\xE8\xE4\xEE\xF0\xEE\xE2\xE0 \xC0.\xC1.\r\n"
    "\xC2\xEE\xE7\xF0\xE0\xF1\xF2 (\xEB\xE5\xF2): 42\r\n"
    "\xCF\xEE\xEB: \xC6\xE5\xED\xF1\xEA\xE8\xE9\r\n"
    "\xC4\xE0\xF2\xE0 \xEF\xF0\xEE\xE2\xE5\xE4\xE5\xED\xE8\xFF: 3/5/24\r\n"
    "\r\n"
    "\xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2\xFB \xEF\xEE \xF8\xEA\xE0\xEB\xE0\xEC (\xD1\xF2\xE5\xED\xFB)\r\n"
    "\xC0 \t7\r\n"
    "\xC2 \t3\r\n"
    "\xD1 \t10\r\n"
    "\xC5 \t1\r\n"
    "F \t5\r\n"
    "G \t6\r\n"
    "\xCD \t8\r\n"
    "I \t2\r\n"
    "L \t9\r\n"
    "\xCC \t4\r\n"
    "N \t0\r\n"
    "\xCE \t6\r\n"
    "Q1\t5\r\n"
    "Q2\t7\r\n"
    "Q3\t3\r\n"
    "Q4\t10\r\n"
    "\r\n"
    "\xC4\xEE\xEF\xEE\xEB\xED\xE8\xF2\xE5\xEB\xFC\xED\xFB\xE5 \xF4\xE0\xEA\xF2\xEE\xF0\xFB \xE2\xF2\xEE\xF0\xEE\xE3\xEE \xEF\xEE\xF0\xFF\xE4\xEA\xE0\r\n"
    "F1\t6.8\r\n"
    "F2\t5\r\n"
    "F3\t-1.7\r\n"
    "F4\t0\r\n";

// Stens 10, 1 and 0 (N, which no scoring run leaves, is still written as it is).
ReportData knownSheet()
{
    return {QStringLiteral("Сидорова А.Б."),
            42,
            QStringLiteral("Женский"),
            QDate(2024, 3, 5),
            {7, 3, 10, 1, 5, 6, 8, 2, 9, 4, 0, 6, 5, 7, 3, 10},
            {6.8, 5, -1.7, 0}};
}

// "Фамилия: " in code page 1251.
const QByteArray kSurnameCaption = "\xD4\xE0\xEC\xE8\xEB\xE8\xFF: ";

QByteArray reportLine(const QByteArray &report, int lineNumber)
{
    return report.split('\n').at(lineNumber - 1);
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void wholeReport_data();
    void wholeReport();
    void surnameAndSexLines_data();
    void surnameAndSexLines();
    void dateLine_data();
    void dateLine();
    void fileName_data();
    void fileName();
    void generalNumber_data();
    void generalNumber();
    void regionalSettings_data();
    void regionalSettings();
};

void TestReport::wholeReport_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("comma locale") << QLocale(QLocale::Russian, QLocale::Russia)
                                  << QByteArray(kCommaLocaleReport);
    QTest::newRow("full-stop locale") << QLocale(QLocale::English, QLocale::UnitedStates)
                                      << QByteArray(kFullStopLocaleReport);
}

void TestReport::wholeReport()
{
    QFETCH(QLocale, locale);
    QFETCH(QByteArray, expected);
    QCOMPARE(reportBytes(knownSheet(), RegionalSettings::fromLocale(locale)), expected);
}

void TestReport::surnameAndSexLines_data()
{
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("sexText");
    QTest::addColumn<QByteArray>("surnameLine");
    QTest::addColumn<QByteArray>("sexLine");

    const QByteArray sexCaption = "\xCF\xEE\xEB: ";
    const QByteArray male = "\xCC\xF3\xE6\xF1\xEA\xEE\xE9";
    QTest::newRow("empty surname, no sex chosen")
        << QString() << QString() << kSurnameCaption + "\r" << sexCaption + "\r";
    QTest::newRow("170 characters kept")
        << QString(170, u'z') << QStringLiteral("Мужской")
        << kSurnameCaption + QByteArray(170, 'z') + "\r" << sexCaption + male + "\r";
    QTest::newRow("171 characters fill the line buffer")
        << QString(171, u'z') << QString()
        << kSurnameCaption + QByteArray(171, 'z') + "\r" << sexCaption + "\r";
    QTest::newRow("172 characters cut to 171")
        << QString(172, u'z') << QString()
        << kSurnameCaption + QByteArray(171, 'z') + "\r" << sexCaption + "\r";
    QTest::newRow("300 Cyrillic characters cut to 171")
        << QString(300, u'Ж') << QString()
        << kSurnameCaption + QByteArray(171, '\xC6') + "\r" << sexCaption + "\r";
    QTest::newRow("characters the code page lacks take one '?' each")
        << QStringLiteral("Ли\u00FC\U0001F600\u4E2D") << QStringLiteral("\u5973")
        << kSurnameCaption + "\xCB\xE8???\r" << sexCaption + "?\r";
    QTest::newRow("spaces kept as typed")
        << QStringLiteral("  Ли  ") << QString()
        << kSurnameCaption + "  \xCB\xE8  \r" << sexCaption + "\r";
}

void TestReport::surnameAndSexLines()
{
    QFETCH(QString, surname);
    QFETCH(QString, sexText);
    QFETCH(QByteArray, surnameLine);
    QFETCH(QByteArray, sexLine);

    ReportData data = knownSheet();
    data.surname = surname;
    data.sexText = sexText;
    const QByteArray report = reportBytes(data, RegionalSettings{});
    QCOMPARE(reportLine(report, 3), surnameLine);
    QCOMPARE(reportLine(report, 5), sexLine);
    QCOMPARE(report.count("\r\n"), 30);
}

void TestReport::dateLine_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QByteArray>("dateText");

    QTest::newRow("default: month/day/two-digit year") << RegionalSettings{}.shortDatePattern
                                                       << QDate(2031, 12, 9) << QByteArray("12/9/31");
    QTest::newRow("day first, full year") << QStringLiteral("dd.MM.yyyy") << QDate(2024, 1, 2)
                                          << QByteArray("02.01.2024");
    QTest::newRow("month names are the C locale's") << QStringLiteral("d MMM yyyy")
                                                    << QDate(2024, 3, 5) << QByteArray("5 Mar 2024");
}

void TestReport::dateLine()
{
    QFETCH(QString, pattern);
    QFETCH(QDate, date);
    QFETCH(QByteArray, dateText);

    ReportData data = knownSheet();
    data.date = date;
    RegionalSettings settings;
    settings.shortDatePattern = pattern;
    const QByteArray dateCaption = "\xC4\xE0\xF2\xE0 \xEF\xF0\xEE\xE2\xE5\xE4\xE5\xED\xE8\xFF: ";
    QCOMPARE(reportLine(reportBytes(data, settings), 6), dateCaption + dateText + "\r");
}

void TestReport::fileName_data()
{
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("fileName");

    const QString a176(176, u'a');
    QTest::newRow("176 characters keep the extension") << a176 << a176 + ".txt";
    QTest::newRow("177 end in .tx") << a176 + "b" << a176 + "b.tx";
    QTest::newRow("178 end in .t") << a176 + "bc" << a176 + "bc.t";
    QTest::newRow("179 end in a full stop") << a176 + "bcd" << a176 + "bcd.";
    QTest::newRow("180 lose the extension") << a176 + "bcde" << a176 + "bcde";
    QTest::newRow("more than 180 cut to 180") << a176 + "bcdefgh" << a176 + "bcde";
    QTest::newRow("empty surname") << QString() << QStringLiteral(".txt");
    QTest::newRow("Cyrillic kept") << QStringLiteral("Иванов И.И.") << QStringLiteral("Иванов И.И..txt");
    QTest::newRow("no way out of the current directory")
        << QStringLiteral("../../etc/passwd") << QStringLiteral(".._.._etc_passwd.txt");
    QTest::newRow("characters Windows names cannot hold")
        << QStringLiteral("a\\b:c*d?e\"f<g>h|i") << QStringLiteral("a_b_c_d_e_f_g_h_i.txt");
    QTest::newRow("control characters") << QStringLiteral("a\tb\nc\x7F") << QStringLiteral("a_b_c_.txt");
    // 125 Cyrillic letters and ".txt" are 254 bytes, within the file system's 255.
    const QString cyrillic125(125, u'ж');
    QTest::newRow("long Cyrillic cut to fit 255 bytes with the extension")
        << cyrillic125 + QStringLiteral("жжжжж") << cyrillic125 + ".txt";
    QTest::newRow("a surrogate pair is one character of the 180")
        << QString(179, u'a') + QStringLiteral("\U0001F600") + "b"
        << QString(179, u'a') + QStringLiteral("\U0001F600");
}

void TestReport::fileName()
{
    QFETCH(QString, surname);
    QFETCH(QString, fileName);
    QCOMPARE(reportFileName(surname), fileName);
}

void TestReport::generalNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("text");

    QTest::newRow("six and eight tenths") << 6.8 << QChar(u',') << QStringLiteral("6,8");
    QTest::newRow("whole number, no separator") << 5.0 << QChar(u',') << QStringLiteral("5");
    QTest::newRow("negative") << -1.7 << QChar(u',') << QStringLiteral("-1,7");
    QTest::newRow("zero") << 0.0 << QChar(u',') << QStringLiteral("0");
    QTest::newRow("negative zero") << -0.0 << QChar(u',') << QStringLiteral("0");
    QTest::newRow("full stop") << 14.5 << QChar(u'.') << QStringLiteral("14.5");
    QTest::newRow("lowest tenth") << -3.5 << QChar(u'.') << QStringLiteral("-3.5");
    QTest::newRow("binary noise rounded away") << 0.1 + 0.2 << QChar(u'.') << QStringLiteral("0.3");
    QTest::newRow("sum of weighted stens") << 0.3 * 3 << QChar(u',') << QStringLiteral("0,9");
    QTest::newRow("fifteen significant digits") << 2.0 / 3 << QChar(u'.')
                                                << QStringLiteral("0.666666666666667");
}

void TestReport::generalNumber()
{
    QFETCH(double, value);
    QFETCH(QChar, separator);
    QFETCH(QString, text);
    QCOMPARE(zorven::generalNumber(value, separator), text);
}

void TestReport::regionalSettings_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QChar>("decimalSeparator");
    QTest::addColumn<QString>("shortDatePattern");

    QTest::newRow("C locale states nothing: the fallbacks")
        << QLocale::c() << QChar(u'.') << QStringLiteral("M/d/yy");
    QTest::newRow("Russian") << QLocale(QLocale::Russian, QLocale::Russia) << QChar(u',')
                             << QStringLiteral("dd.MM.yyyy");
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << QChar(u',')
                            << QStringLiteral("dd.MM.yy");
    QTest::newRow("Arabic: separator outside the code page, direction marks dropped")
        << QLocale(QLocale::Arabic, QLocale::Egypt) << QChar(u'.') << QStringLiteral("d/M/yyyy");
}

void TestReport::regionalSettings()
{
    QFETCH(QLocale, locale);
    QFETCH(QChar, decimalSeparator);
    QFETCH(QString, shortDatePattern);

    const RegionalSettings settings = RegionalSettings::fromLocale(locale);
    QCOMPARE(settings.decimalSeparator, decimalSeparator);
    QCOMPARE(settings.shortDatePattern, shortDatePattern);
}

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
