#include "widgets/light_palette.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace look {

namespace {

struct RoleColour
{
    QPalette::ColorRole role;
    QColor colour;
};

// Active and inactive windows look alike; only disabled controls are greyed.
const RoleColour kEnabled[] = {
    {QPalette::Window, QColor(240, 240, 240)},       // the classic button face
    {QPalette::WindowText, QColor(0, 0, 0)},
    {QPalette::Base, QColor(255, 255, 255)},
    {QPalette::AlternateBase, QColor(245, 245, 245)},
    {QPalette::Text, QColor(0, 0, 0)},
    {QPalette::PlaceholderText, QColor(96, 96, 96)},  // 5.9 : 1 on white
    {QPalette::Button, QColor(240, 240, 240)},
    {QPalette::ButtonText, QColor(0, 0, 0)},
    {QPalette::BrightText, QColor(255, 255, 255)},
    {QPalette::Light, QColor(255, 255, 255)},
    {QPalette::Midlight, QColor(227, 227, 227)},
    {QPalette::Mid, QColor(160, 160, 160)},
    {QPalette::Dark, QColor(105, 105, 105)},
    {QPalette::Shadow, QColor(0, 0, 0)},
    {QPalette::Highlight, QColor(0, 120, 215)},
    {QPalette::HighlightedText, QColor(255, 255, 255)},
    {QPalette::Link, QColor(0, 0, 255)},
    {QPalette::LinkVisited, QColor(128, 0, 128)},
    {QPalette::ToolTipBase, QColor(255, 255, 220)},
    {QPalette::ToolTipText, QColor(0, 0, 0)},
};

const RoleColour kDisabled[] = {
    {QPalette::WindowText, QColor(120, 120, 120)},
    {QPalette::Text, QColor(120, 120, 120)},
    {QPalette::ButtonText, QColor(120, 120, 120)},
    {QPalette::Base, QColor(240, 240, 240)},
    {QPalette::Highlight, QColor(120, 120, 120)},
};

} // namespace

QPalette lightPalette()
{
    QPalette palette;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (const RoleColour &entry : kEnabled)
            palette.setColor(group, entry.role, entry.colour);
    for (const RoleColour &entry : kDisabled)
        palette.setColor(QPalette::Disabled, entry.role, entry.colour);
    return palette;
}

// QPalette::resolve hands back the other palette marked as set by nobody when `own` sets
// nothing, and a widget takes such a palette as no palette at all: the mask is made here.
QPalette LightWindows::withLightDefaults(const QPalette &own)
{
    const QPalette light = lightPalette();
    QPalette merged = own.resolve(light);
    merged.setResolveMask(own.resolveMask() | light.resolveMask());
    return merged;
}

// The filter sits on the application: message boxes and dialogs are made where they are
// needed, and each is caught as it shows.
LightWindows::LightWindows(QWidget *window) : QObject(window), m_window(window)
{
    window->setPalette(lightPalette());
    qApp->installEventFilter(this);
}

bool LightWindows::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (widget->isWindow() && isOpenedOver(widget))
        widget->setPalette(withLightDefaults(widget->palette()));
    return false;
}

// Tooltips keep the desktop's own colours, which are made to go together.
bool LightWindows::isOpenedOver(const QWidget *widget) const
{
    if (widget == m_window || widget->windowType() == Qt::ToolTip)
        return false;
    for (const QWidget *parent = widget->parentWidget(); parent; parent = parent->parentWidget())
        if (parent == m_window)
            return true;
    return false;
}

} // namespace look
