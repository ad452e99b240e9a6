#include "administration/screen_measures.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace screen_measures {

namespace {

constexpr qreal kMillimetresPerInch = 25.4;
// Virtual displays and some projectors report a physical size that gives an absurd
// resolution; outside these bounds the logical resolution is the better guess.
constexpr qreal kLowestBelievableDpi = 50;
constexpr qreal kHighestBelievableDpi = 600;
constexpr qreal kFallbackDpi = 96;

} // namespace

qreal pixelsPerMillimetre(const QScreen *screen)
{
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return kFallbackDpi / kMillimetresPerInch;
    const qreal physical = screen->physicalDotsPerInchY();
    const qreal dpi = physical >= kLowestBelievableDpi && physical <= kHighestBelievableDpi
                          ? physical
                          : screen->logicalDotsPerInchY();
    return dpi / kMillimetresPerInch;
}

int millimetresToPixels(const QScreen *screen, qreal millimetres)
{
    return int(std::ceil(millimetres * pixelsPerMillimetre(screen)));
}

qreal instructionPoints(const QScreen *screen)
{
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen && screen->availableGeometry().height() < kLowScreenPixels ? kLowScreenInstructionPoints
                                                                             : kOptionPoints;
}

QFont fontOfPoints(qreal points, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace screen_measures
