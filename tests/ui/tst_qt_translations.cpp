// Qt's own dialogs speak Russian on a Russian desk: the save dialog the report is saved
// through, with the translations the program installs at start.

#include "app/dialogs.h"
#include "app/qt_translations.h"
#include "ui/form_driver.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestQtTranslations : public QObject
{
    Q_OBJECT

private slots:
    void saveDialogButtonsAreRussian();
};

void TestQtTranslations::saveDialogButtonsAreRussian()
{
    installQtTranslations(*QCoreApplication::instance());
    QTemporaryDir folder;
    QStringList buttons;
    QTimer::singleShot(0, [&buttons] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        for (const QAbstractButton *button : dialog->findChild<QDialogButtonBox *>()->buttons())
            buttons << button->text();
        dialog->reject();
    });
    Dialogs().askReportPath(nullptr, folder.filePath(QStringLiteral("Иванов А.Б..txt")));
    buttons.sort();
    QCOMPARE(buttons, (QStringList{QStringLiteral("&Сохранить"), QStringLiteral("Отмена")}));
}

int main(int argc, char *argv[])
{
    return form_driver::execInRussianLocale<TestQtTranslations>(argc, argv);
}

#include "tst_qt_translations.moc"
