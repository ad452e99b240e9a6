#include "widgets/form_look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPalette>
#include <QWidget>

namespace look {

namespace {

QString chooseFormFamily()
{
    const QString designed = QStringLiteral("MS Sans Serif");
    if (QFontDatabase::hasFamily(designed))
        return designed;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

// Asked once: every look asks for it, and each question costs a font-alias search.
const QString &formFamily()
{
    static const QString family = chooseFormFamily();
    return family;
}

} // namespace

QFont formFont(int pixelSize, Weight weight)
{
    return namedFont(formFamily(), pixelSize, weight);
}

QFont namedFont(const QString &family, int pixelSize, Weight weight)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(weight == Weight::Bold);
    return font;
}

QFont platformFont(const char *widgetClass)
{
    QFont font = QApplication::font(widgetClass);
    font.setResolveMask(QFont::AllPropertiesResolved);
    return font;
}

void setLook(QWidget *widget, const QFont &font, const QColor &textColour)
{
    widget->setFont(font);
    QPalette palette = widget->palette();
    // The disabled group keeps the style's greyed text, so a disabled control still looks so.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        for (const QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(group, role, textColour);
    }
    widget->setPalette(palette);
}

} // namespace look

void look::widenToContent(QWidget *widget)
{
    const int needed = widget->sizeHint().width();
    if (needed > widget->width())
        widget->resize(needed, widget->height());
}

void look::widenToContentAroundCentre(QWidget *widget)
{
    const int growth = widget->sizeHint().width() - widget->width();
    if (growth > 0)
        widget->setGeometry(widget->geometry().adjusted(-growth / 2, 0, growth - growth / 2, 0));
}
