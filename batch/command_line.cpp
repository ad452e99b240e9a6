#include "batch/command_line.h"

#include <QCommandLineParser>
#include <QHash>

#include <algorithm>
#include <iterator>

namespace zorven {

namespace {

struct OptionEntry {
    CommandKind command; // what the option asks for
    QStringList names;   // a one-letter name first, if any; the long name last
    QString valueName;   // empty for an option that takes no value
    QString description;
};

// Every option, in the order --help lists them. The batch checks its pair of options
// itself; here they are only taken apart from the rest of the command line.
const OptionEntry kOptions[] = {
    {CommandKind::ScoreBatch, {QStringLiteral("score")}, QStringLiteral("ТАБЛИЦА.csv"),
     QStringLiteral("оценить без окна все строки таблицы результатов")},
    // --out serves --score and --read-scans alike: it goes with the command it stands beside.
    {CommandKind::Window, {QStringLiteral("out")}, QStringLiteral("ПАПКА"),
     QStringLiteral("куда --score пишет отчёты и новую таблицу, а --read-scans — таблицу scans.csv")},
    {CommandKind::Booklet, {QStringLiteral("booklet")}, QStringLiteral("ФАЙЛ.pdf"),
     QStringLiteral("записать буклет с вопросами в файл PDF")},
    {CommandKind::AnswerSheet, {QStringLiteral("answer-sheet")}, QStringLiteral("ФАЙЛ.pdf"),
     QStringLiteral("записать пустой бланк ответов в файл PDF")},
    {CommandKind::AnswerSheets, {QStringLiteral("answer-sheets")}, QStringLiteral("СПИСОК.csv ФАЙЛ.pdf"),
     QStringLiteral("записать в файл PDF по бланку на каждого из списка группы")},
    {CommandKind::ReadScans, {QStringLiteral("read-scans")}, QStringLiteral("ФАЙЛ…"),
     QStringLiteral("прочитать сканы бланков (PDF, TIFF, JPEG, PNG) в таблицу ПАПКА/scans.csv")},
    {CommandKind::ReadScans, {QStringLiteral("group")}, QStringLiteral("СПИСОК.csv"),
     QStringLiteral("список группы, по которому печатались бланки: фамилия, пол и возраст из него")},
    {CommandKind::Help, {QStringLiteral("h"), QStringLiteral("help")}, {},
     QStringLiteral("показать эту справку")},
    {CommandKind::Version, {QStringLiteral("v"), QStringLiteral("version")}, {},
     QStringLiteral("показать версию программы")},
};

const QString kProgramName = QStringLiteral("zorventest");

const OptionEntry *entryNamed(const QString &name)
{
    const auto found = std::find_if(std::begin(kOptions), std::end(kOptions),
                                    [&name](const OptionEntry &entry) { return entry.names.contains(name); });
    return found == std::end(kOptions) ? nullptr : &*found;
}

bool takesValue(const OptionEntry &entry)
{
    return !entry.valueName.isEmpty();
}

QString spelled(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// "  -h, --help" or "      --score ТАБЛИЦА.csv": long names line up under each other.
QString synopsisOf(const OptionEntry &entry)
{
    QStringList spellings;
    std::transform(entry.names.begin(), entry.names.end(), std::back_inserter(spellings), spelled);
    QString synopsis = entry.names.front().size() == 1 ? QStringLiteral("  ") : QStringLiteral("      ");
    synopsis += spellings.join(QStringLiteral(", "));
    if (takesValue(entry))
        synopsis += u' ' + entry.valueName;
    return synopsis;
}

// Why QCommandLineParser refused the command line, in the program's language. Besides
// unknown options it refuses a value given to an option that takes none, and an option
// that needs a value as the last argument.
QString refusalOf(const QCommandLineParser &parser, const QStringList &arguments)
{
    if (!parser.unknownOptionNames().isEmpty())
        return QStringLiteral("неизвестный параметр «%1»").arg(spelled(parser.unknownOptionNames().front()));
    for (const QString &argument : arguments.mid(1)) {
        const qsizetype equals = argument.indexOf(u'=');
        if (!argument.startsWith(QStringLiteral("--")) || equals < 0)
            continue;
        const OptionEntry *entry = entryNamed(argument.mid(2, equals - 2));
        if (entry && !takesValue(*entry))
            return QStringLiteral("параметр %1 не принимает значения").arg(argument.left(equals));
    }
    return QStringLiteral("после %1 нужно значение").arg(arguments.back());
}

Command mistake(const QString &reason)
{
    return {CommandKind::Mistake, kProgramName + QStringLiteral(": ") + reason + u'\n' + usageText(), {}};
}

// The long name of the first option given more than once; empty when there is none. A
// second value would silently replace the first or be ignored.
QString repeatedOption(const QCommandLineParser &parser)
{
    QStringList seen;
    for (const QString &name : parser.optionNames()) {
        const QString &longName = entryNamed(name)->names.back();
        if (seen.contains(longName))
            return longName;
        seen.append(longName);
    }
    return {};
}

// The commands the options ask for, each once, in the order first asked.
QList<CommandKind> commandsAsked(const QCommandLineParser &parser)
{
    QList<CommandKind> asked;
    for (const QString &name : parser.optionNames()) {
        const CommandKind command = entryNamed(name)->command;
        if (command != CommandKind::Window && !asked.contains(command))
            asked.append(command);
    }
    return asked;
}

QStringList argumentsOf(const QCommandLineParser &parser, CommandKind command)
{
    QStringList arguments;
    QHash<QString, qsizetype> valuesTaken;
    for (const QString &name : parser.optionNames()) {
        const OptionEntry &entry = *entryNamed(name);
        if (entry.command != command && entry.command != CommandKind::Window)
            continue;
        const QString &longName = entry.names.back();
        arguments.append(QStringLiteral("--") + longName);
        if (takesValue(entry))
            arguments.append(parser.values(longName).at(valuesTaken[longName]++));
    }
    return arguments;
}

} // namespace

Command commandOf(const QStringList &arguments, const QString &version)
{
    QCommandLineParser parser;
    for (const OptionEntry &entry : kOptions)
        parser.addOption(QCommandLineOption(entry.names, entry.description, entry.valueName));
    if (!parser.parse(arguments))
        return mistake(refusalOf(parser, arguments));
    if (const QString repeated = repeatedOption(parser); !repeated.isEmpty())
        return mistake(QStringLiteral("параметр %1 указан дважды").arg(spelled(repeated)));
    const QList<CommandKind> asked = commandsAsked(parser);
    const QStringList loose = parser.positionalArguments();
    const bool takesMoreFiles = asked.size() == 1 && asked.front() == CommandKind::ReadScans
                                && parser.isSet(QStringLiteral("read-scans"));
    const bool takesPdf = asked.size() == 1 && asked.front() == CommandKind::AnswerSheets && loose.size() == 1;
    if (!loose.isEmpty() && !takesMoreFiles && !takesPdf)
        return mistake(QStringLiteral("лишний аргумент «%1»").arg(loose.front()));
    if (asked.size() == 1 && asked.front() == CommandKind::AnswerSheets && loose.isEmpty())
        return mistake(QStringLiteral("после --answer-sheets СПИСОК.csv нужен файл PDF"));
    if (asked.contains(CommandKind::Help))
        return {CommandKind::Help, usageText(), {}};
    if (asked.contains(CommandKind::Version))
        return {CommandKind::Version, kProgramName + u' ' + version + u'\n', {}};
    if (asked.isEmpty())
        return parser.optionNames().isEmpty()
                   ? Command{}
                   : mistake(QStringLiteral("параметр --out нужен вместе с --score или --read-scans"));
    // Options of two commands: running either would silently drop the other's.
    if (asked.size() > 1)
        return mistake(QStringLiteral("параметры двух разных команд: %1 и %2")
                           .arg(argumentsOf(parser, asked[0]).front(), argumentsOf(parser, asked[1]).front()));
    QStringList commandArguments = argumentsOf(parser, asked.front());
    for (const QString &file : loose) {
        if (takesMoreFiles)
            commandArguments << QStringLiteral("--read-scans");
        commandArguments << file;
    }
    return {asked.front(), {}, commandArguments};
}

QString usageText()
{
    qsizetype width = 0;
    for (const OptionEntry &entry : kOptions)
        width = std::max(width, synopsisOf(entry).size());
    QString text = QStringLiteral("Использование: %1 [ПАРАМЕТРЫ]\n"
                                  "Без параметров открывает окно для ввода одного бланка.\n\n"
                                  "Параметры:\n")
                       .arg(kProgramName);
    for (const OptionEntry &entry : kOptions)
        text += synopsisOf(entry).leftJustified(width + 2) + entry.description + u'\n';
    text += QStringLiteral("\nКод выхода:\n"
                           "  0  всё сделано;\n"
                           "  1  --score отклонил строки таблицы или не записал их отчёты;\n"
                           "     --read-scans оставил человеку страницы или отметки;\n"
                           "  2  ошибка в командной строке, таблица не прочитана, папка или файл PDF не записаны.\n"
                           "Подробнее: man %1\n")
                .arg(kProgramName);
    return text;
}

} // namespace zorven
