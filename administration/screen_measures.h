#pragma once
// Sizes on the respondent's screen in real units: type in points, buttons in millimetres,
// so that the screen reads the same on a laptop and on a large monitor.

#include <QFont>

class QScreen;

namespace screen_measures {

// Statements at least 16 pt, options at least 14 pt; the rest in proportion.
inline constexpr qreal kStatementPoints = 20;
inline constexpr qreal kOptionPoints = 16;
inline constexpr qreal kCaptionPoints = 14;
inline constexpr qreal kEndPoints = 26;
// The instructions: a little smaller on a screen too low for them in the options' type.
inline constexpr qreal kLowScreenInstructionPoints = 13;
inline constexpr int kLowScreenPixels = 720;
qreal instructionPoints(const QScreen *screen);
// A button a hand cannot miss.
inline constexpr qreal kButtonMillimetres = 12;

// Pixels per millimetre on `screen`: from its physical size where the system tells a
// believable one, else from its logical resolution.
qreal pixelsPerMillimetre(const QScreen *screen);
int millimetresToPixels(const QScreen *screen, qreal millimetres);

QFont fontOfPoints(qreal points, bool bold = false);

} // namespace screen_measures
