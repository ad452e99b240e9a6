// The main window's commands for the paper a group testing needs: the question booklet
// and the blank answer sheet, printed or saved as PDF at any stage.

#include "app/zorven.h"
#include "paper/answer_sheet.h"
#include "paper/booklet.h"
#include "results/io_error.h"
#include "results/report_file.h"
#include "ui_zorven.h"

#include <QDir>
#include <QPrinter>

void TForm1::connectPaperCommands()
{
    connect(ui->Booklet, &QAction::triggered, this, &TForm1::BookletClick);
    connect(ui->AnswerSheet, &QAction::triggered, this, &TForm1::AnswerSheetClick);
}

void TForm1::BookletClick()
{
    putOnPaper(zorven::bookletDocument(), QStringLiteral("Буклет с вопросами"),
               QStringLiteral("Буклет с вопросами.pdf"));
}

void TForm1::AnswerSheetClick()
{
    putOnPaper(zorven::answerSheetDocument(), QStringLiteral("Бланк ответов"),
               QStringLiteral("Бланк ответов.pdf"));
}

// A file is written as the report is: whole or not at all, never through a link; a
// failure names the file and leaves everything as it was to try again.
void TForm1::putOnPaper(const zorven::PaperDocument &document, const QString &what,
                        const QString &fileName)
{
    switch (m_dialogs->askPaperOutput(this, what)) {
    case Dialogs::PaperChoice::Print: {
        QPrinter printer(QPrinter::HighResolution);
        zorven::usePaperLayout(printer);
        printer.setDocName(what);
        if (!m_dialogs->askPrinter(this, printer))
            return;
        if (!zorven::paintDocument(printer, document) || printer.printerState() == QPrinter::Error)
            m_dialogs->showErrorReport(
                this, what + QStringLiteral(" не напечатан: принтер не принял страницу."));
        return;
    }
    case Dialogs::PaperChoice::SavePdf: {
        const QString path =
            m_dialogs->askPaperPdfPath(this, what, QDir::current().absoluteFilePath(fileName));
        if (path.isEmpty())
            return;
        const int code = zorven::writeReport(path, zorven::documentPdf(document));
        if (code != 0)
            m_dialogs->showErrorReport(this, QStringLiteral("%1 не сохранён в файл %2: %3")
                                                 .arg(what, QDir::toNativeSeparators(path),
                                                      zorven::withClosingFullStop(zorven::ioErrorText(code))));
        return;
    }
    case Dialogs::PaperChoice::Cancel:
        return;
    }
}
