#pragma once
// Fonts and colours of the program's windows. The forms were drawn for "MS Sans Serif";
// where it is not installed the platform's sans font takes its place at the same pixel
// sizes, so that every caption still fits the control it was measured for.

#include <QColor>
#include <QFont>

class QWidget;

namespace look {

inline const QColor kNavy(0, 0, 128);
inline const QColor kMaroon(128, 0, 0);
inline const QColor kPurple(128, 0, 128);
// A deep red: pure red text reads only 3.5 : 1 on the light window, this one 5.7 : 1.
inline const QColor kRed(192, 0, 0);
inline const QColor kBlack(0, 0, 0);

enum class Weight { Regular, Bold };

QFont formFont(int pixelSize, Weight weight);
QFont namedFont(const QString &family, int pixelSize, Weight weight);
// The platform's own font for a kind of widget, kept whatever font its parent has.
QFont platformFont(const char *widgetClass);

// Gives a widget, and the children that do not set their own, a font and a text colour.
void setLook(QWidget *widget, const QFont &font, const QColor &textColour);

// A caption measured for the designed font may not fit in the one that replaces it. These
// widen a control just enough for its content, never narrowing it, keeping its left edge
// or, for a control centred in its group, its centre.
void widenToContent(QWidget *widget);
void widenToContentAroundCentre(QWidget *widget);

} // namespace look
