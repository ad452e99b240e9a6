#include "app/dialogs.h"

#include "app/difference_box.h"
#include "app/program_identity.h"
#include "widgets/two_way_question.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QInputDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QUrl>

void Dialogs::showErrorReport(QWidget *parent, const QString &message)
{
    QMessageBox::critical(parent, identity::kApplicationTitle, message, QMessageBox::Ok);
}

void Dialogs::showFileErrorReport(QWidget *parent, const QString &message, const QString &path)
{
    QMessageBox box(QMessageBox::Critical, identity::kApplicationTitle,
                    QStringLiteral("Отчёт не сохранён в файл «%1».").arg(QDir::toNativeSeparators(path)),
                    QMessageBox::Ok, parent);
    box.setInformativeText(message
                           + QStringLiteral("\n\nРезультаты остаются на экране, отчёт можно сохранить "
                                            "в другое место командой «Тест → Сохранить отчёт…»."));
    box.exec();
}

QString Dialogs::askReportPath(QWidget *parent, const QString &proposedPath)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить отчёт"), proposedPath,
                                        QStringLiteral("Текст (*.txt);;Все файлы (*)"));
}

Dialogs::UnsavedResultsChoice Dialogs::askAboutUnsavedResults(QWidget *parent)
{
    QMessageBox box(QMessageBox::Warning, identity::kApplicationTitle,
                    QStringLiteral("Отчёт по этому бланку не сохранён. Если выйти сейчас, "
                                   "результаты будут потеряны."),
                    QMessageBox::NoButton, parent);
    QPushButton *save = box.addButton(QStringLiteral("Сохранить…"), QMessageBox::AcceptRole);
    QPushButton *quit =
        box.addButton(QStringLiteral("Выйти без сохранения"), QMessageBox::DestructiveRole);
    QPushButton *stay = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(stay);
    box.exec();
    if (box.clickedButton() == save)
        return UnsavedResultsChoice::Save;
    if (box.clickedButton() == quit)
        return UnsavedResultsChoice::Quit;
    return UnsavedResultsChoice::Stay;
}

QString Dialogs::askProfilePdfPath(QWidget *parent, const QString &proposedPath)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить профиль в PDF"),
                                        proposedPath, QStringLiteral("PDF (*.pdf);;Все файлы (*)"));
}

// Every page is printed: nothing to choose of a page range. Printing to a file is not
// offered: a file goes through «Сохранить профиль в PDF…», which never writes through a
// link or over a device.
bool Dialogs::askPrinter(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Печать: ") + printer.docName());
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

Dialogs::PaperChoice Dialogs::askPaperOutput(QWidget *parent, const QString &what)
{
    QMessageBox box(QMessageBox::Question, identity::kApplicationTitle,
                    what + QStringLiteral(": напечатать или сохранить в файл PDF?"),
                    QMessageBox::NoButton, parent);
    QPushButton *print = box.addButton(QStringLiteral("Напечатать…"), QMessageBox::AcceptRole);
    QPushButton *save = box.addButton(QStringLiteral("Сохранить в PDF…"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(print);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == print)
        return PaperChoice::Print;
    if (box.clickedButton() == save)
        return PaperChoice::SavePdf;
    return PaperChoice::Cancel;
}

QString Dialogs::askPaperPdfPath(QWidget *parent, const QString &what, const QString &proposedPath)
{
    return QFileDialog::getSaveFileName(parent, what + QStringLiteral(": сохранить в PDF"),
                                        proposedPath, QStringLiteral("PDF (*.pdf);;Все файлы (*)"));
}

bool Dialogs::askToRetryResultsTable(QWidget *parent, const QString &message)
{
    return askTwoWay(parent, {identity::kApplicationTitle, message, QStringLiteral("Повторить"),
                              QStringLiteral("Закрыть"), true, QMessageBox::Warning});
}

void Dialogs::showResultsTableNotice(QWidget *parent, const QString &message)
{
    QMessageBox::warning(parent, identity::kApplicationTitle, message, QMessageBox::Ok);
}

void Dialogs::openResultsTable(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

// Replacing is the default, as keying a sheet again is the usual reason; Esc keeps both.
bool Dialogs::askToReplaceReport(QWidget *parent, const QString &fileName)
{
    // The box opens on the press that finishes a sheet: an Enter typed ahead must not
    // replace a report unseen.
    return askTwoWay(parent,
                     {identity::kApplicationTitle,
                      QStringLiteral("В папке уже есть отчёт «%1» с той же фамилией, тем же полом и "
                                     "возрастом.\n\nЕсли этот бланк введён заново, замените отчёт. "
                                     "Если это другой человек, сохраните новый отчёт отдельно, под "
                                     "следующим номером.")
                          .arg(fileName),
                      QStringLiteral("Заменить"), QStringLiteral("Сохранить отдельно"), true,
                      QMessageBox::Question, true});
}

bool Dialogs::askToDropSheetOnScreen(QWidget *parent)
{
    return askTwoWay(parent, {identity::kApplicationTitle,
                              QStringLiteral("Бланк на экране введён не до конца. Если начать новый "
                                             "бланк, введённые ответы будут потеряны."),
                              QStringLiteral("Начать новый бланк"), QStringLiteral("Продолжить ввод")});
}

int Dialogs::askWhatThePaperShows(QWidget *parent, const PaperQuestion &question)
{
    DifferenceBox box(question.text, question.choices, parent);
    box.exec();
    return box.chosen();
}

int Dialogs::chooseFirstKeying(QWidget *parent, const QString &surname, const QStringList &sheets)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(identity::kApplicationTitle);
    dialog.setLabelText(QStringLiteral("В таблице результатов несколько непроверенных бланков «%1».\n"
                                       "Какой из них проверяется?").arg(surname));
    dialog.setComboBoxItems(sheets);
    dialog.setComboBoxEditable(false);
    dialog.setOkButtonText(QStringLiteral("Проверять этот"));
    dialog.setCancelButtonText(QStringLiteral("Отмена"));
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    // The row itself, not its text: two rows may still read alike.
    const auto *list = dialog.findChild<QComboBox *>();
    return list ? list->currentIndex() : -1;
}

bool Dialogs::askToKeyAsNewSheet(QWidget *parent, const QString &message)
{
    return askTwoWay(parent, {identity::kApplicationTitle, message,
                              QStringLiteral("Ввести как новый бланк"), QStringLiteral("Исправить фамилию")});
}

void Dialogs::showVerificationSummary(QWidget *parent, const QString &summary)
{
    QMessageBox::information(parent, identity::kApplicationTitle, summary, QMessageBox::Ok);
}

bool Dialogs::askToResumeSession(QWidget *parent, const QString &description)
{
    return askTwoWay(parent, {identity::kApplicationTitle, description,
                              QStringLiteral("Продолжить тестирование"), QStringLiteral("Не сейчас"), true});
}

void Dialogs::showQualitySigns(QWidget *parent, const QString &signs)
{
    QMessageBox::information(parent, identity::kApplicationTitle, signs, QMessageBox::Ok);
}
