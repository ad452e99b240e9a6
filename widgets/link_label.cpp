#include "widgets/link_label.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {

// Qt reads a label as static text whatever it shows; this one is a link with a press.
class LinkLabelAccessible : public QAccessibleWidget
{
public:
    explicit LinkLabelAccessible(LinkLabel *link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const QLabel *>(widget())->text();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override
    {
        return QAccessibleWidget::actionNames() << pressAction();
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            emit static_cast<LinkLabel *>(widget())->clicked();
        else
            QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface *linkFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("LinkLabel") && object->isWidgetType())
        return new LinkLabelAccessible(static_cast<LinkLabel *>(object));
    return nullptr;
}

} // namespace

LinkLabel::LinkLabel(QWidget *parent) : ClickableLabel(parent)
{
    static const bool accessibleAsLink = (QAccessible::installFactory(linkFactory), true);
    Q_UNUSED(accessibleAsLink);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            emit clicked();
        event->accept();
        return;
    default:
        ClickableLabel::keyPressEvent(event);
    }
}

// Underlined while it has the focus, inside the style's focus frame, as a browser shows a
// link reached with Tab.
void LinkLabel::paintEvent(QPaintEvent *event)
{
    ClickableLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.rect = contentsRect();
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}

void LinkLabel::focusInEvent(QFocusEvent *event)
{
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    ClickableLabel::focusInEvent(event);
}

void LinkLabel::focusOutEvent(QFocusEvent *event)
{
    QFont plain = font();
    plain.setUnderline(false);
    setFont(plain);
    ClickableLabel::focusOutEvent(event);
}
