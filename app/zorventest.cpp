// Start-up: the command line decides between the window (the application, the main
// window, the hidden about box, the event loop) and a command that runs without a window:
// batch scoring, or a PDF of the booklet or the answer sheet.

#include "app/Unit1.h"
#include "app/program_identity.h"
#include "app/qt_translations.h"
#include "app/zorven.h"
#include "batch/batch_scoring.h"
#include "batch/command_line.h"
#include "paper/paper_commands.h"
#include "results/report_file.h"
#include "scan/read_scans_command.h"
#include "widgets/program_style.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <optional>
#include <unistd.h>

namespace {

// The title is not made the application's display name: the platform would append that
// to every window caption.
void setIdentity()
{
    QApplication::setApplicationName(identity::kApplicationTitle);
    QApplication::setApplicationVersion(identity::kVersion);
    QApplication::setOrganizationName(identity::kMakerName);
    QApplication::setDesktopFileName(QStringLiteral("zorventest"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/zorventest.png")));
}

// As QCoreApplication::arguments() reads them, but before any application object exists.
QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// Qt reads options of its own (-platform, -style, -display, …) from the arguments its
// application is given, even where our parser took them as values: it gets the program's
// name alone.
class ProgramNameOnly
{
public:
    explicit ProgramNameOnly(char *programName) : m_argv{programName, nullptr} {}
    int &argc() { return m_argc; }
    char **argv() { return m_argv; }

private:
    int m_argc = 1;
    char *m_argv[2];
};

int print(std::FILE *stream, const QString &text, int exitStatus)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, bytes.size(), stream);
    return exitStatus;
}

// Batch scoring runs without a display: a QCoreApplication loads no platform plugin, and
// nothing of the batch creates a widget.
int scoreBatch(char *programName, const QStringList &arguments)
{
    ProgramNameOnly qtArguments(programName);
    QCoreApplication application(qtArguments.argc(), qtArguments.argv());
    QFile errors;
    errors.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return zorven::runBatchScoring(arguments, errors, ::isatty(STDERR_FILENO) == 1);
}

// --booklet, --answer-sheet and --answer-sheets draw their pages without a window. Fonts need a
// QGuiApplication, and one on the offscreen platform needs no display. Run from cron or
// ssh, there is no runtime folder (XDG_RUNTIME_DIR), and Qt would print an English warning
// before our own line: a private one, removed at the end, stands in.
int writePaper(char *programName, const std::function<int()> &write)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::optional<QTemporaryDir> runtimeFolder;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtimeFolder.emplace(QDir::tempPath() + QStringLiteral("/zorventest-runtime-XXXXXX"));
        if (runtimeFolder->isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder->path()));
    }
    ProgramNameOnly qtArguments(programName);
    QGuiApplication application(qtArguments.argc(), qtArguments.argv());
    return write();
}

// --read-scans decodes images and PDF pages, which needs no fonts and no display.
int readScans(char *programName, const QStringList &arguments)
{
    ProgramNameOnly qtArguments(programName);
    QCoreApplication application(qtArguments.argc(), qtArguments.argv());
    return zorven::scan::readScansCommand(arguments);
}

// Where no display can be reached, QApplication would abort with the platform plugin's
// message; say in the program's words what is missing and what runs without one.
bool displayReachable()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

int showWindow(char *programName)
{
    if (!displayReachable())
        return print(stderr,
                     QStringLiteral("zorventest: нет графического дисплея (не заданы DISPLAY и "
                                    "WAYLAND_DISPLAY), окно открыть негде; без окна работают "
                                    "--score, --read-scans, --booklet и --answer-sheet (zorventest --help)\n"),
                     zorven::kCommandLineMistake);

    ProgramNameOnly qtArguments(programName);
    QApplication application(qtArguments.argc(), qtArguments.argv());
    look::useProgramStyle();
    setIdentity();
    installQtTranslations(application);

    TForm1 form;
    // A child of the main window: it closes with it and does not keep the program running.
    auto *aboutBox = new TAboutBox(&form);
    form.setAboutBox(aboutBox);

    form.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    zorven::keepFileSizeLimitFromEndingTheProgram();
    const zorven::Command command = zorven::commandOf(argumentsOf(argc, argv), identity::kVersion);
    switch (command.kind) {
    case zorven::CommandKind::Help:
    case zorven::CommandKind::Version:
        return print(stdout, command.text, zorven::kCommandLineShown);
    case zorven::CommandKind::Mistake:
        return print(stderr, command.text, zorven::kCommandLineMistake);
    case zorven::CommandKind::ScoreBatch:
        return scoreBatch(argv[0], command.arguments);
    case zorven::CommandKind::Booklet:
        return writePaper(argv[0], [&] { return zorven::writeBookletCommand(command.arguments.at(1)); });
    case zorven::CommandKind::AnswerSheet:
        return writePaper(argv[0], [&] {
            return zorven::writeAnswerSheetCommand(command.arguments.at(1));
        });
    case zorven::CommandKind::AnswerSheets:
        return writePaper(argv[0], [&] {
            return zorven::writeGroupAnswerSheetsCommand(command.arguments.at(1), command.arguments.at(2));
        });
    case zorven::CommandKind::ReadScans:
        return readScans(argv[0], command.arguments);
    case zorven::CommandKind::Window:
        break;
    }
    return showWindow(argv[0]);
}
