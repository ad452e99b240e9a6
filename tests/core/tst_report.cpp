// The report's bytes: the whole 30 lines, the name cut and the general number form.

#include "results/general_number.h"
#include "results/regional_settings.h"
#include "results/report.h"
#include "golden_report.h"

#include <QTest>

using namespace zorven;

namespace {

// The full-stop locale differs from the Russian one in the date and the decimal point.
QByteArray fullStopLocaleReport()
{
    return golden::withValues(golden::kReport, {{golden::kDateLine, "3/5/24"},
                                                {golden::kFirstSecondOrderLine, "6.8"},
                                                {golden::kFirstSecondOrderLine + 2, "-1.7"}});
}

const RegionalSettings kRussian =
    RegionalSettings::fromLocale(QLocale(QLocale::Russian, QLocale::Russia));

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
    QTest::newRow("comma locale") << QLocale(QLocale::Russian, QLocale::Russia) << golden::kReport;
    QTest::newRow("full-stop locale") << QLocale(QLocale::English, QLocale::UnitedStates)
                                      << fullStopLocaleReport();
}

void TestReport::wholeReport()
{
    QFETCH(QLocale, locale);
    QFETCH(QByteArray, expected);
    QCOMPARE(reportBytes(golden::sheet(), RegionalSettings::fromLocale(locale)), expected);
}

void TestReport::surnameAndSexLines_data()
{
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("sexText");
    QTest::addColumn<QByteArray>("surnameValue");
    QTest::addColumn<QByteArray>("sexValue");

    // The surname line holds 180 characters, 9 of them its caption's.
    const QByteArray male = "\xCC\xF3\xE6\xF1\xEA\xEE\xE9";
    QTest::newRow("empty surname, no sex chosen")
        << QString() << QString() << QByteArray() << QByteArray();
    QTest::newRow("170 characters kept") << QString(170, u'z') << QStringLiteral("Мужской")
                                         << QByteArray(170, 'z') << male;
    QTest::newRow("171 characters fill the line buffer")
        << QString(171, u'z') << QString() << QByteArray(171, 'z') << QByteArray();
    QTest::newRow("172 characters cut to 171")
        << QString(172, u'z') << QString() << QByteArray(171, 'z') << QByteArray();
    QTest::newRow("300 Cyrillic characters cut to 171")
        << QString(300, u'Ж') << QString() << QByteArray(171, '\xC6') << QByteArray();
    QTest::newRow("characters the code page lacks take one '?' each")
        << QStringLiteral("Ли\u00FC\U0001F600\u4E2D") << QStringLiteral("\u5973")
        << QByteArray("\xCB\xE8???") << QByteArray("?");
    QTest::newRow("spaces kept as typed")
        << QStringLiteral("  Ли  ") << QString() << QByteArray("  \xCB\xE8  ") << QByteArray();
}

void TestReport::surnameAndSexLines()
{
    QFETCH(QString, surname);
    QFETCH(QString, sexText);
    QFETCH(QByteArray, surnameValue);
    QFETCH(QByteArray, sexValue);

    ReportData data = golden::sheet();
    data.surname = surname;
    data.sexText = sexText;
    QCOMPARE(reportBytes(data, kRussian),
             golden::withValues(golden::kReport, {{golden::kSurnameLine, surnameValue},
                                                  {golden::kSexLine, sexValue}}));
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

    ReportData data = golden::sheet();
    data.date = date;
    RegionalSettings settings = kRussian;
    settings.shortDatePattern = pattern;
    QCOMPARE(reportBytes(data, settings),
             golden::withValues(golden::kReport, {{golden::kDateLine, dateText}}));
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
