#include "app/dialogs.h"

#include "app/program_identity.h"

#include <QFileDialog>
#include <QMessageBox>

void Dialogs::showErrorReport(QWidget *parent, const QString &message)
{
    QMessageBox::critical(parent, identity::kApplicationTitle, message, QMessageBox::Ok);
}

QString Dialogs::askReportPath(QWidget *parent, const QString &proposedPath)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить отчёт"), proposedPath,
                                        QStringLiteral("Текст (*.txt);;Все файлы (*)"));
}
