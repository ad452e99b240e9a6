// The command line: which command each one asks for, what a headless command receives,
// and the one-line reason a refused command line gives before the usage.

#include "batch/command_line.h"

#include <QTest>

using namespace zorven;

Q_DECLARE_METATYPE(zorven::CommandKind)

namespace {

const QString kVersion = QStringLiteral("3.1.4.1");

QStringList split(const char *arguments)
{
    return QString::fromUtf8(arguments).split(u' ', Qt::SkipEmptyParts);
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void decidesTheCommand_data();
    void decidesTheCommand();
};

void TestCommandLine::decidesTheCommand_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<CommandKind>("kind");
    QTest::addColumn<QString>("text"); // for a mistake its first line only
    QTest::addColumn<QStringList>("commandArguments");

    const QString usage = usageText();
    const QString version = QStringLiteral("zorventest 3.1.4.1\n");
    const auto row = [](const char *name, const char *arguments, CommandKind kind,
                        const QString &text, const char *commandArguments = "") {
        QTest::newRow(name) << split(arguments) << kind << text << split(commandArguments);
    };
    row("nothing", "", CommandKind::Window, {});
    row("--help", "--help", CommandKind::Help, usage);
    row("-h", "-h", CommandKind::Help, usage);
    row("--version", "--version", CommandKind::Version, version);
    row("-v", "-v", CommandKind::Version, version);
    row("help before a command", "--score in.csv --out r --help", CommandKind::Help, usage);
    row("version before a command", "--score in.csv --out r -v", CommandKind::Version, version);

    row("two words", "--score in.csv --out r", CommandKind::ScoreBatch, {}, "--score in.csv --out r");
    row("with =", "--score=in.csv --out=r", CommandKind::ScoreBatch, {}, "--score in.csv --out r");
    row("order kept", "--out=r --score in.csv", CommandKind::ScoreBatch, {}, "--out r --score in.csv");
    row("a value that looks like an option", "--out --help --score in.csv", CommandKind::ScoreBatch, {},
        "--out --help --score in.csv");
    // The batch refuses these itself, with its own usage line.
    row("--out missing", "--score in.csv", CommandKind::ScoreBatch, {}, "--score in.csv");
    row("--score twice", "--score a --score=b", CommandKind::Mistake,
        QStringLiteral("zorventest: параметр --score указан дважды"));
    row("--booklet twice", "--booklet a.pdf --booklet b.pdf", CommandKind::Mistake,
        QStringLiteral("zorventest: параметр --booklet указан дважды"));
    row("-h and --help", "-h --help", CommandKind::Mistake,
        QStringLiteral("zorventest: параметр --help указан дважды"));

    row("booklet", "--booklet=b.pdf", CommandKind::Booklet, {}, "--booklet b.pdf");
    row("answer sheet", "--answer-sheet s.pdf", CommandKind::AnswerSheet, {}, "--answer-sheet s.pdf");
    row("two commands", "--booklet b.pdf --score in.csv", CommandKind::Mistake,
        QStringLiteral("zorventest: параметры двух разных команд: --booklet и --score"));

    row("unknown", "--bogus", CommandKind::Mistake, QStringLiteral("zorventest: неизвестный параметр «--bogus»"));
    row("unknown beats --help", "--help -x", CommandKind::Mistake,
        QStringLiteral("zorventest: неизвестный параметр «-x»"));
    row("missing value", "--out r --score", CommandKind::Mistake,
        QStringLiteral("zorventest: после --score нужно значение"));
    row("value to a flag", "--version=2", CommandKind::Mistake,
        QStringLiteral("zorventest: параметр --version не принимает значения"));
    row("stray argument", "in.csv", CommandKind::Mistake,
        QStringLiteral("zorventest: лишний аргумент «in.csv»"));
}

void TestCommandLine::decidesTheCommand()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandKind, kind);
    QFETCH(QString, text);
    QFETCH(QStringList, commandArguments);

    const Command command = commandOf(QStringList{QStringLiteral("zorventest")} + arguments, kVersion);
    QCOMPARE(command.kind, kind);
    QCOMPARE(command.text, kind == CommandKind::Mistake ? text + u'\n' + usageText() : text);
    QCOMPARE(command.arguments, commandArguments);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
