// The decimal separator and date pattern the report takes from a system whose locale
// categories are set apart, as a user's environment may set them. The system locale is
// read once per process, so each case runs this test program again with its own
// environment and reads back what it found.

#include "results/regional_settings.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>
#include <QTextStream>

#include <cstring>

namespace {

constexpr char kPrintFlag[] = "--print-system-settings";

int printSystemSettings()
{
    const zorven::RegionalSettings settings = zorven::RegionalSettings::fromSystem();
    QTextStream(stdout) << settings.decimalSeparator << ' ' << settings.shortDatePattern;
    return 0;
}

// The settings found under exactly these locale variables and no others.
QString settingsUnder(const QStringList &variables)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : environment.keys()) {
        if (name.startsWith(QLatin1String("LC_")) || name == QLatin1String("LANG")
            || name == QLatin1String("LANGUAGE"))
            environment.remove(name);
    }
    for (const QString &variable : variables)
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kPrintFlag)});
    if (!process.waitForFinished())
        return QStringLiteral("<did not finish>");
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestRegionalSettings : public QObject
{
    Q_OBJECT

private slots:
    void eachCategoryFromItsOwnLocale_data();
    void eachCategoryFromItsOwnLocale();
};

void TestRegionalSettings::eachCategoryFromItsOwnLocale_data()
{
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<QString>("settings");

    QTest::newRow("nothing set: the defaults") << QStringList() << QStringLiteral(". M/d/yy");
    QTest::newRow("Russian") << QStringList{"LANG=ru_RU.UTF-8"} << QStringLiteral(", dd.MM.yyyy");
    QTest::newRow("Russian with C messages")
        << QStringList{"LANG=ru_RU.UTF-8", "LC_MESSAGES=C"} << QStringLiteral(", dd.MM.yyyy");
    QTest::newRow("C language, German numbers and dates")
        << QStringList{"LANG=C", "LC_NUMERIC=de_DE.UTF-8", "LC_TIME=de_DE.UTF-8"}
        << QStringLiteral(", dd.MM.yy");
    QTest::newRow("Russian numbers, C dates")
        << QStringList{"LANG=ru_RU.UTF-8", "LC_TIME=C.UTF-8"} << QStringLiteral(", M/d/yy");
    QTest::newRow("LC_ALL overrides the categories")
        << QStringList{"LC_ALL=POSIX", "LC_NUMERIC=ru_RU.UTF-8", "LANG=ru_RU.UTF-8"}
        << QStringLiteral(". M/d/yy");
}

void TestRegionalSettings::eachCategoryFromItsOwnLocale()
{
    QFETCH(QStringList, variables);
    QFETCH(QString, settings);
    QCOMPARE(settingsUnder(variables), settings);
}

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], kPrintFlag) == 0)
        return printSystemSettings();
    TestRegionalSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_regional_settings.moc"
