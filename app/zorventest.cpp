// Start-up: the application, the main window, the hidden about box, the event loop; or,
// with --score and --out, batch scoring without a window; or, with --booklet or
// --answer-sheet, a PDF to print.

#include "app/Unit1.h"
#include "app/program_identity.h"
#include "app/zorven.h"
#include "batch/batch_scoring.h"
#include "paper/paper_commands.h"
#include "results/report_file.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>

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

// Batch scoring runs without a display: a QCoreApplication loads no platform plugin, and
// nothing of the batch creates a widget.
int scoreBatch(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QFile errors;
    errors.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return zorven::runBatchScoring(QCoreApplication::arguments().mid(1), errors,
                                   ::isatty(STDERR_FILENO) == 1);
}

// --booklet FILE.pdf and --answer-sheet FILE.pdf draw their page without a window. Fonts
// need a QGuiApplication, and one on the offscreen platform needs no display.
using PaperCommand = int (*)(const QString &path);

PaperCommand paperCommandOf(int argc, char *argv[])
{
    if (argc != 3)
        return nullptr;
    if (qstrcmp(argv[1], "--booklet") == 0)
        return zorven::writeBookletCommand;
    if (qstrcmp(argv[1], "--answer-sheet") == 0)
        return zorven::writeAnswerSheetCommand;
    return nullptr;
}

int writePaper(int argc, char *argv[], PaperCommand command)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return command(QString::fromLocal8Bit(argv[2]));
}

} // namespace

int main(int argc, char *argv[])
{
    zorven::keepFileSizeLimitFromEndingTheProgram();
    if (zorven::isBatchCommandLine(argc, argv))
        return scoreBatch(argc, argv);
    if (const PaperCommand command = paperCommandOf(argc, argv))
        return writePaper(argc, argv, command);
    QApplication application(argc, argv);
    setIdentity();

    TForm1 form;
    // A child of the main window: it closes with it and does not keep the program running.
    auto *aboutBox = new TAboutBox(&form);
    form.setAboutBox(aboutBox);

    form.show();
    return QApplication::exec();
}
