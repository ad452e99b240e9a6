#include "app/dialogs.h"

#include "app/program_identity.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>

void Dialogs::showErrorReport(QWidget *parent, const QString &message)
{
    QMessageBox::critical(parent, identity::kApplicationTitle, message, QMessageBox::Ok);
}

QString Dialogs::askReportPath(QWidget *parent, const QString &proposedPath)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить отчёт"), proposedPath,
                                        QStringLiteral("Текст (*.txt);;Все файлы (*)"));
}

QString Dialogs::askProfilePdfPath(QWidget *parent, const QString &proposedPath)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить профиль в PDF"),
                                        proposedPath, QStringLiteral("PDF (*.pdf);;Все файлы (*)"));
}

// The profile is one page: nothing to choose of a page range.
bool Dialogs::askPrinter(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Печать профиля"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}
