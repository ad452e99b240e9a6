// The main window's commands for scanned sheets: «Прочитать сканы…» reads them and opens
// the review, whose settled sheets are scored here by the keying road itself, and
// «Бланки для группы…» prints a sheet for each respondent of a group's list.

#include "app/zorven.h"
#include "paper/answer_sheet.h"
#include "paper/group_list.h"
#include "review/scan_reading.h"
#include "review/scan_review.h"
#include "ui_zorven.h"

#include <QDir>

void TForm1::connectScanCommands()
{
    connect(ui->ReadScans, &QAction::triggered, this, &TForm1::ReadScansClick);
    connect(ui->GroupSheets, &QAction::triggered, this, &TForm1::GroupSheetsClick);
}

void TForm1::ReadScansClick()
{
    if (!mayDropSheet())
        return;
    const QStringList files = m_reviewDialogs->askScanFiles(this);
    if (files.isEmpty())
        return;
    if (std::optional<QList<zorven::review::ReviewPage>> pages =
            zorven::review::readForReview(files, this, *m_reviewDialogs))
        reviewScannedPages(std::move(*pages));
}

// The sheets go to the printer or a PDF file as the blank sheet does.
void TForm1::GroupSheetsClick()
{
    const QString path = m_reviewDialogs->askGroupListPath(this);
    if (path.isEmpty())
        return;
    const zorven::GroupList list = zorven::readGroupList(path);
    if (!list.faults.isEmpty()) {
        m_dialogs->showErrorReport(this, QStringLiteral("Список группы %1 не принят:\n%2")
                                             .arg(QDir::toNativeSeparators(path), list.faults.join(u'\n')));
        return;
    }
    putOnPaper(zorven::groupAnswerSheetsDocument(list.rows), QStringLiteral("Комплект бланков группы"),
               QStringLiteral("Бланки группы.pdf"));
}

// Window-modal, so that the results of each sheet show in the window behind it.
void TForm1::reviewScannedPages(QList<zorven::review::ReviewPage> pages)
{
    auto *review = new zorven::review::ScanReview(
        std::move(pages), *m_reviewDialogs,
        [this](const zorven::review::SettledSheet &sheet) { return scoreSettledSheet(sheet); }, this);
    review->setAttribute(Qt::WA_DeleteOnClose);
    review->open();
    review->begin();
}

// The settled sheet is keyed into the window as an operator keys it: the respondent data,
// «Далее», then every statement's option, the last of which scores the sheet, writes the
// report and adds the row. Only the row's «Способ ввода» tells it from a keyed sheet. The
// sheet before goes as at «Новый бланк»: results whose report could not be written are
// offered for saving first.
bool TForm1::scoreSettledSheet(const zorven::review::SettledSheet &sheet)
{
    if (!mayClose())
        return false;
    startNextSheet();
    ui->LEdit->insert(sheet.surname); // as typed: the name field's rules and changed flag
    ui->ComboBox1->setCurrentIndex(ui->ComboBox1->findText(zorven::sexTextOf(sheet.sex)));
    setAge(sheet.age);
    m_entryMethod = sheet.entryMethod();
    m_entry.nextPressed();
    for (int q = 1; q <= zorven::kStatementCount; ++q)
        m_entry.optionPressed(sheet.options.at(q));
    return true;
}
