// The main window's commands of the Finished stage: the keyed answers checked against the
// paper sheet and scored again, and the profile shown on screen, printed or filed as PDF.

#include "app/answers_dialog.h"
#include "app/zorven.h"
#include "questionnaire/keyed_options.h"
#include "results/io_error.h"
#include "profile/profile_page.h"
#include "profile/profile_window.h"
#include "results/report_file.h"
#include "ui_zorven.h"

#include <QDir>
#include <QPrinter>

namespace {

const QString kReportExtension = QStringLiteral(".txt");
const QString kPdfExtension = QStringLiteral(".pdf");

} // namespace

void TForm1::connectFinishedCommands()
{
    connect(ui->SheetAnswers, &QAction::triggered, this, &TForm1::SheetAnswersClick);
    connect(ui->ShowProfile, &QAction::triggered, this, &TForm1::ShowProfileClick);
    connect(ui->PrintProfile, &QAction::triggered, this, &TForm1::PrintProfileClick);
    connect(ui->SaveProfilePdf, &QAction::triggered, this, &TForm1::SaveProfilePdfClick);
}

void TForm1::offerFinishedCommands()
{
    ui->SheetAnswers->setEnabled(true);
    ui->ShowProfile->setEnabled(true);
    ui->PrintProfile->setEnabled(true);
    ui->SaveProfilePdf->setEnabled(true);
}

// Window-modal rather than run in a loop of its own, so that the window's other events go
// on; it blocks the menu, so only one is ever open.
void TForm1::SheetAnswersClick()
{
    auto *dialog = new AnswersDialog(m_sheet.options, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] { rescore(dialog->options()); });
    dialog->open();
}

// The record is rebuilt from the letters as keying would have left it, so the run gives
// what keying the corrected sheet from the start would give; the results step then writes
// the report and the table row as it did the first time.
void TForm1::rescore(const zorven::KeyedOptions &options)
{
    m_sheet.options = options;
    m_sheet.answers = zorven::answerRecordOf(options);
    startScoringRun();
}

// Not modal: the operator may go on to the next sheet with the profile still open, which
// then empties with the results (emptyResults). Its buttons print and save the page as the
// menu's commands do, with their dialogs over the profile window.
void TForm1::ShowProfileClick()
{
    if (!m_profileWindow) {
        m_profileWindow = new zorven::ProfileWindow(this);
        connect(m_profileWindow, &zorven::ProfileWindow::printRequested, this,
                [this] { printProfile(m_profileWindow); });
        connect(m_profileWindow, &zorven::ProfileWindow::savePdfRequested, this,
                [this] { saveProfilePdf(m_profileWindow); });
    }
    showProfilePage();
    m_profileWindow->show();
    m_profileWindow->raise();
    m_profileWindow->activateWindow();
}

// The page of the results on screen; a sheet scored again redraws an open window.
void TForm1::showProfilePage()
{
    if (m_profileWindow)
        m_profileWindow->showPage(
            zorven::profilePageDocument(m_reportData, m_regional, m_qualitySignsList));
}

void TForm1::PrintProfileClick()
{
    printProfile(this);
}

void TForm1::SaveProfilePdfClick()
{
    saveProfilePdf(this);
}

void TForm1::printProfile(QWidget *over)
{
    QPrinter printer(QPrinter::HighResolution);
    zorven::useProfilePageLayout(printer);
    // The print dialog's "print to file" makes its file name from this one.
    printer.setDocName(profilePdfFileName());
    if (!m_dialogs->askPrinter(over, printer))
        return;
    if (!zorven::paintProfilePage(printer, m_reportData, m_regional, m_qualitySignsList)
        || printer.printerState() == QPrinter::Error)
        m_dialogs->showErrorReport(over, QStringLiteral("Профиль не напечатан: принтер не принял страницу."));
}

// The page goes to the disk the way the report does: whole or not at all, never through a
// link, and a failure names the file and leaves everything as it was to try again.
void TForm1::saveProfilePdf(QWidget *over)
{
    const QString path =
        m_dialogs->askProfilePdfPath(over, QDir::current().absoluteFilePath(profilePdfFileName()));
    if (path.isEmpty())
        return;
    const int code = zorven::writeReport(path, zorven::profilePdf(m_reportData, m_regional, m_qualitySignsList));
    if (code != 0)
        m_dialogs->showErrorReport(over, QStringLiteral("Профиль не сохранён в файл %1: %2")
                                             .arg(QDir::toNativeSeparators(path),
                                                  zorven::withClosingFullStop(zorven::ioErrorText(code))));
}

// The report's name with ".pdf" in place of ".txt"; a name cut before its extension
// gets ".pdf" added.
QString TForm1::profilePdfFileName() const
{
    QString name = m_reportFileName;
    if (name.endsWith(kReportExtension))
        name.chop(kReportExtension.size());
    return name + kPdfExtension;
}
