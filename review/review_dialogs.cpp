#include "review/review_dialogs.h"

#include "widgets/two_way_question.h"

#include <QFileDialog>
#include <QMessageBox>

namespace zorven::review {

QStringList ReviewDialogs::askScanFiles(QWidget *parent)
{
    return QFileDialog::getOpenFileNames(
        parent, QStringLiteral("Прочитать сканы"), QString(),
        QStringLiteral("Сканы, таблица сканов, список группы (*.pdf *.png *.jpg *.jpeg *.tif "
                       "*.tiff *.csv);;Все файлы (*)"));
}

QString ReviewDialogs::askGroupListPath(QWidget *parent)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Бланки для группы: список группы"),
                                        QString(), QStringLiteral("Список группы (*.csv);;Все файлы (*)"));
}

bool ReviewDialogs::askToStopReview(QWidget *parent, int pagesLeft)
{
    return askTwoWay(parent, {QStringLiteral("Прочитать сканы"),
                              QStringLiteral("Прервать проверку? Не проверено страниц: %1.\n\nОни не "
                                             "будут оценены; их можно прочитать снова позже.")
                                  .arg(pagesLeft),
                              QStringLiteral("Прервать"), QStringLiteral("Продолжить проверку")});
}

void ReviewDialogs::showReadingError(QWidget *parent, const QString &message)
{
    QMessageBox::warning(parent, QStringLiteral("Прочитать сканы"), message);
}

} // namespace zorven::review
