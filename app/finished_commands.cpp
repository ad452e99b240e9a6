// The main window's commands of the Finished stage: the keyed answers checked against the
// paper sheet and scored again, and the profile printed or filed as PDF.

#include "app/answers_dialog.h"
#include "app/zorven.h"
#include "questionnaire/keyed_options.h"
#include "results/io_error.h"
#include "profile/profile_page.h"
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
    connect(ui->PrintProfile, &QAction::triggered, this, &TForm1::PrintProfileClick);
    connect(ui->SaveProfilePdf, &QAction::triggered, this, &TForm1::SaveProfilePdfClick);
}

void TForm1::offerFinishedCommands()
{
    ui->SheetAnswers->setEnabled(true);
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

void TForm1::PrintProfileClick()
{
    QPrinter printer(QPrinter::HighResolution);
    zorven::useProfilePageLayout(printer);
    // The print dialog's "print to file" makes its file name from this one.
    printer.setDocName(profilePdfFileName());
    if (!m_dialogs->askPrinter(this, printer))
        return;
    if (!zorven::paintProfilePage(printer, m_reportData, m_regional, m_qualitySignsList)
        || printer.printerState() == QPrinter::Error)
        m_dialogs->showErrorReport(this, QStringLiteral("Профиль не напечатан: принтер не принял страницу."));
}

// The page goes to the disk the way the report does: whole or not at all, never through a
// link, and a failure names the file and leaves everything as it was to try again.
void TForm1::SaveProfilePdfClick()
{
    const QString path =
        m_dialogs->askProfilePdfPath(this, QDir::current().absoluteFilePath(profilePdfFileName()));
    if (path.isEmpty())
        return;
    const int code = zorven::writeReport(path, zorven::profilePdf(m_reportData, m_regional, m_qualitySignsList));
    if (code != 0)
        m_dialogs->showErrorReport(this, QStringLiteral("Профиль не сохранён в файл %1: %2")
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
