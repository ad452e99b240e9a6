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
#include "scan/read_scans_command.h"
#include "results/report_file.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>

#include <cstdio>
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

int print(std::FILE *stream, const QString &text, int exitStatus)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, bytes.size(), stream);
    return exitStatus;
}

// Batch scoring runs without a display: a QCoreApplication loads no platform plugin, and
// nothing of the batch creates a widget.
int scoreBatch(int argc, char *argv[], const QStringList &arguments)
{
    QCoreApplication application(argc, argv);
    QFile errors;
    errors.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return zorven::runBatchScoring(arguments, errors, ::isatty(STDERR_FILENO) == 1);
}

// --booklet and --answer-sheet draw their pages without a window. Fonts need a
// QGuiApplication, and one on the offscreen platform needs no display.
int writePaper(int argc, char *argv[], int (*write)(const QString &path), const QString &path)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return write(path);
}

int writeGroupSheets(int argc, char *argv[], const QString &list, const QString &path)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return zorven::writeGroupAnswerSheetsCommand(list, path);
}

// --read-scans decodes images and PDF pages, which needs no fonts and no display.
int readScans(int argc, char *argv[], const QStringList &arguments)
{
    QCoreApplication application(argc, argv);
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

int showWindow(int argc, char *argv[])
{
    if (!displayReachable())
        return print(stderr,
                     QStringLiteral("zorventest: нет графического дисплея (не заданы DISPLAY и "
                                    "WAYLAND_DISPLAY), окно открыть негде; без окна работают "
                                    "--score, --read-scans, --booklet и --answer-sheet (zorventest --help)\n"),
                     zorven::kCommandLineMistake);

    QApplication application(argc, argv);
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
        return scoreBatch(argc, argv, command.arguments);
    case zorven::CommandKind::Booklet:
        return writePaper(argc, argv, zorven::writeBookletCommand, command.arguments.at(1));
    case zorven::CommandKind::AnswerSheet:
        return writePaper(argc, argv, zorven::writeAnswerSheetCommand, command.arguments.at(1));
    case zorven::CommandKind::AnswerSheets:
        return writeGroupSheets(argc, argv, command.arguments.at(1), command.arguments.at(2));
    case zorven::CommandKind::ReadScans:
        return readScans(argc, argv, command.arguments);
    case zorven::CommandKind::Window:
        break;
    }
    return showWindow(argc, argv);
}
