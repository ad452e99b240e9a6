#include "app/dialogs.h"

#include "app/program_identity.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

void Dialogs::showErrorReport(QWidget *parent, const QString &message)
{
    QMessageBox::critical(parent, identity::kApplicationTitle, message, QMessageBox::Ok);
}

QString Dialogs::askReportPath(QWidget *parent, const QString &proposedPath)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить отчёт"), proposedPath,
                                        QStringLiteral("Текст (*.txt);;Все файлы (*)"));
}

void Dialogs::showResultsTableFailure(QWidget *parent, const QString &message)
{
    QMessageBox::warning(parent, identity::kApplicationTitle, message, QMessageBox::Ok);
}

void Dialogs::openResultsTable(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
