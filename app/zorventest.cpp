// Start-up: the application, the main window, the hidden about box, the event loop.

#include "app/Unit1.h"
#include "app/program_identity.h"
#include "app/zorven.h"
#include "results/report_file.h"

#include <QApplication>
#include <QIcon>

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

} // namespace

int main(int argc, char *argv[])
{
    zorven::keepFileSizeLimitFromEndingTheProgram();
    QApplication application(argc, argv);
    setIdentity();

    TForm1 form;
    // A child of the main window: it closes with it and does not keep the program running.
    auto *aboutBox = new TAboutBox(&form);
    form.setAboutBox(aboutBox);

    form.show();
    return QApplication::exec();
}
