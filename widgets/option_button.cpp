#include "widgets/option_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

void OptionButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRect textArea = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawItemText(textArea, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(),
                         text(), QPalette::ButtonText);
}
