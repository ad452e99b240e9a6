#pragma once
// The forms' fixed colours (navy and maroon captions, black value labels, a grey statement
// group) were chosen for a light window. Under a dark desktop theme they would sit on dark
// grey and all but vanish, so the main window and every window opened over it (about box,
// answers dialog, message boxes, menus) keep a light palette of their own.

#include <QObject>
#include <QPalette>

class QWidget;

namespace look {

// A light window as the forms were drawn on: black text on the classic button face, white
// fields, a blue selection.
QPalette lightPalette();

// Gives `window` the light palette and keeps it on each window shown over it. Colours a
// window set for itself stay; the roles it left open come from the light palette.
class LightWindows : public QObject
{
    Q_OBJECT

public:
    explicit LightWindows(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static QPalette withLightDefaults(const QPalette &own);
    bool isOpenedOver(const QWidget *widget) const;

    QWidget *m_window;
};

} // namespace look
