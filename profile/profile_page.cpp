#include "profile/profile_page.h"

#include "profile/results_display.h"
#include "profile/scale_names.h"
#include "profile/scale_poles.h"
#include "scoring/second_order.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QTextOption>

#include <algorithm>

namespace zorven {

namespace {

// The page is laid out in tenths of a millimetre within margins of 15 mm.
constexpr qreal kMargin = 150;
constexpr QSizeF kContentSize(kSheetSize.width() - 2 * kMargin, kSheetSize.height() - 2 * kMargin);

const QString kFactorColumn = QStringLiteral("Фактор");
const QString kStenColumn = QStringLiteral("Стен");
const QString kLowColumn = QStringLiteral("Низкие стены");
const QString kHighColumn = QStringLiteral("Высокие стены");
const QString kLegend = QStringLiteral(
    "Слева от шкалы сказано, что означают низкие стены, справа — высокие. Серым отмечены "
    "средние стены, от 4 до 7: чем дальше точка от этой полосы, тем ярче выражена черта.");

constexpr int kLowestSten = 1;
constexpr int kHighestSten = 10;

// Font heights, in tenths of a millimetre (35 are about 10 points).
constexpr int kTitleFont = 60;
constexpr int kHeadingFont = 42;
constexpr int kTextFont = 36;
constexpr int kNameFont = 32;
constexpr int kSmallFont = 30;
constexpr int kPoleFont = 29;

// The profile table: columns from the left, rows from the table's top.
constexpr qreal kLetterLeft = 15;
constexpr qreal kNameLeft = 85;
constexpr qreal kStenLeft = 400;
constexpr qreal kStenWidth = 90;
constexpr qreal kLowLeft = 500;
constexpr qreal kLowWidth = 385;
constexpr qreal kScaleLeft = 900;
constexpr qreal kScaleWidth = 500;
constexpr qreal kHighLeft = kScaleLeft + kScaleWidth + 15;
constexpr qreal kHighWidth = kContentSize.width() - kHighLeft - 5;
constexpr qreal kHeaderHeight = 70;
constexpr qreal kRowHeight = 92; // leaves room at the foot for how the sheet was answered
constexpr qreal kSignHeight = 40;
constexpr qreal kDotRadius = 15;
constexpr qreal kProfileLineWidth = 7;
constexpr qreal kSecondOrderRowHeight = 75; // at least; a longer text takes more
constexpr qreal kCaptionWidth = 230;

const QColor kInk(0, 0, 0);
const QColor kGridColour(150, 150, 150);
const QColor kStripeColour(238, 238, 238);
const QColor kAverageBandColour(0, 0, 0, 38);
const QColor kProfileColour(0, 0, 128);

QFont pageFont(int height, bool bold = false)
{
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(height);
    font.setBold(bold);
    // Unhinted, as the paper routine's fonts: the screen then draws the page as the PDF does.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The painter's font set to the largest size, down from `font`'s, at which `text` wrapped
// at blanks, or within a word that is wider than the box, fits `box`: a surname may be
// longer than the page is wide.
void setFontWrappingInto(QPainter &painter, QFont font, const QString &text, const QRectF &box,
                         const QTextOption &wrapping)
{
    for (;;) {
        painter.setFont(font);
        const QRectF needed = painter.boundingRect(box, text, wrapping);
        if (font.pixelSize() <= 1
            || (needed.width() <= box.width() && needed.height() <= box.height()))
            return;
        font.setPixelSize(font.pixelSize() - 1);
    }
}

QString factorLetter(int factor)
{
    return fromUtf8(kFactorNames[std::size_t(factor)]);
}

// The font, made smaller where needed so that `text` wrapped at its blanks fits `box`
// without cutting a word: fonts differ from platform to platform, and a cut word would be
// unreadable on paper.
QFont fittedFont(QFont font, const QString &text, const QSizeF &box)
{
    const auto fits = [&] {
        const QFontMetricsF metrics(font);
        for (const QString &word : text.split(QLatin1Char(' ')))
            if (metrics.horizontalAdvance(word) > box.width())
                return false;
        return metrics.boundingRect(QRectF(QPointF(), box), Qt::TextWordWrap, text).height()
               <= box.height();
    };
    while (font.pixelSize() > 1 && !fits())
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

// Draws `text` wrapped at its blanks, in the largest size up to `font`'s that fits.
void drawFittedText(QPainter &painter, const QRectF &box, int flags, const QString &text,
                    const QFont &font)
{
    const QString laidOut = laidOutText(text);
    painter.setFont(fittedFont(font, laidOut, box.size()));
    painter.drawText(box, flags | Qt::TextWordWrap, laidOut);
}

// Draws `text` in a box and returns the box's bottom.
qreal drawText(QPainter &painter, const QRectF &box, int flags, const QString &text,
               const QFont &font)
{
    painter.setFont(font);
    painter.drawText(box, flags, text);
    return box.bottom();
}

qreal drawTitle(QPainter &painter, qreal top)
{
    const QRectF box(0, top, kContentSize.width(), 90);
    drawText(painter, box, Qt::AlignHCenter | Qt::AlignVCenter, kReportTitle,
             pageFont(kTitleFont, true));
    painter.setPen(QPen(kInk, 4));
    painter.drawLine(QPointF(0, box.bottom() + 15), QPointF(kContentSize.width(), box.bottom() + 15));
    return box.bottom() + 15;
}

// The surname across the page, then age, sex and date side by side.
qreal drawRespondentLines(QPainter &painter, qreal top, const ReportData &data,
                          const RegionalSettings &settings)
{
    painter.setPen(kInk);
    const auto lines = respondentLines(data, settings);
    constexpr qreal kLineHeight = 55;
    QTextOption wrapping(Qt::AlignLeft | Qt::AlignVCenter);
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QRectF surnameBox(0, top, kContentSize.width(), kLineHeight);
    setFontWrappingInto(painter, pageFont(kTextFont), lines[0], surnameBox, wrapping);
    painter.drawText(surnameBox, lines[0], wrapping);
    const qreal width = kContentSize.width() / 3;
    for (std::size_t i = 1; i < lines.size(); ++i)
        drawText(painter, QRectF((i - 1) * width, top + kLineHeight, width, kLineHeight),
                 Qt::AlignLeft | Qt::AlignVCenter, lines[i], pageFont(kTextFont));
    return top + 2 * kLineHeight;
}

qreal drawHeading(QPainter &painter, qreal top, const QString &text)
{
    painter.setPen(kInk);
    return drawText(painter, QRectF(0, top, kContentSize.width(), 65),
                    Qt::AlignLeft | Qt::AlignVCenter, text, pageFont(kHeadingFont, true));
}

qreal scaleColumnWidth()
{
    return kScaleWidth / (kHighestSten - kLowestSten + 1);
}

qreal stenLeftX(int sten)
{
    return kScaleLeft + (sten - kLowestSten) * scaleColumnWidth();
}

qreal stenCentreX(int sten)
{
    return stenLeftX(sten) + scaleColumnWidth() / 2;
}

void drawScaleNumbers(QPainter &painter, qreal top)
{
    painter.setPen(kInk);
    for (int sten = kLowestSten; sten <= kHighestSten; ++sten)
        drawText(painter, QRectF(stenLeftX(sten), top, scaleColumnWidth(), kHeaderHeight),
                 Qt::AlignCenter, QString::number(sten), pageFont(kSmallFont, true));
}

void drawTableHeader(QPainter &painter, qreal top)
{
    painter.setPen(kInk);
    const QFont font = pageFont(kSmallFont, true);
    drawText(painter, QRectF(kLetterLeft, top, kStenLeft - kLetterLeft, kHeaderHeight),
             Qt::AlignLeft | Qt::AlignVCenter, kFactorColumn, font);
    drawText(painter, QRectF(kStenLeft, top, kStenWidth, kHeaderHeight), Qt::AlignCenter,
             kStenColumn, font);
    drawText(painter, QRectF(kLowLeft, top, kLowWidth, kHeaderHeight),
             Qt::AlignRight | Qt::AlignVCenter, kLowColumn, font);
    drawText(painter, QRectF(kHighLeft, top, kHighWidth, kHeaderHeight),
             Qt::AlignLeft | Qt::AlignVCenter, kHighColumn, font);
    drawScaleNumbers(painter, top);
}

void drawFactorRow(QPainter &painter, qreal top, int factor, int sten)
{
    if (factor % 2 == 0)
        painter.fillRect(QRectF(0, top, kContentSize.width(), kRowHeight), kStripeColour);
    painter.setPen(kInk);
    drawText(painter, QRectF(kLetterLeft, top, kNameLeft - kLetterLeft, kRowHeight),
             Qt::AlignLeft | Qt::AlignVCenter, factorLetter(factor), pageFont(kTextFont, true));
    drawFittedText(painter, QRectF(kNameLeft, top, kStenLeft - kNameLeft - 10, kRowHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, scaleName(factor), pageFont(kNameFont));
    drawText(painter, QRectF(kStenLeft, top, kStenWidth, kRowHeight), Qt::AlignCenter,
             QString::number(sten), pageFont(kTextFont, true));
    drawFittedText(painter, QRectF(kLowLeft, top, kLowWidth, kRowHeight),
                   Qt::AlignRight | Qt::AlignVCenter, lowPole(factor), pageFont(kPoleFont));
    drawFittedText(painter, QRectF(kHighLeft, top, kHighWidth, kRowHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, highPole(factor), pageFont(kPoleFont));
}

void drawAverageBand(QPainter &painter, qreal top, qreal bottom)
{
    const qreal left = stenLeftX(kAverageLowest);
    const qreal right = stenLeftX(kAverageHighest + 1);
    painter.fillRect(QRectF(left, top, right - left, bottom - top), kAverageBandColour);
}

void drawScaleGrid(QPainter &painter, qreal top, qreal bottom)
{
    painter.setPen(QPen(kGridColour, 2));
    for (int line = 0; line <= kHighestSten - kLowestSten + 1; ++line) {
        const qreal x = kScaleLeft + line * scaleColumnWidth();
        painter.drawLine(QPointF(x, top), QPointF(x, bottom));
    }
    painter.setPen(QPen(kInk, 4));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0, top, kContentSize.width(), bottom - top));
}

bool isOnScale(int sten)
{
    return sten >= kLowestSten && sten <= kHighestSten;
}

// A dot at every factor's sten, joined from factor to factor; a sten off the scale (a
// sheet without a norm group) leaves its row empty and breaks the line.
void drawProfileLine(QPainter &painter, qreal rowsTop, const Stens &stens)
{
    QPainterPath line;
    bool joined = false;
    for (int factor = 0; factor < kFactorCount; ++factor) {
        const int sten = stens[std::size_t(factor)];
        if (!isOnScale(sten)) {
            joined = false;
            continue;
        }
        const QPointF dot(stenCentreX(sten), rowsTop + (factor + 0.5) * kRowHeight);
        joined ? line.lineTo(dot) : line.moveTo(dot);
        joined = true;
    }
    painter.setPen(QPen(kProfileColour, kProfileLineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(line);

    painter.setPen(Qt::NoPen);
    painter.setBrush(kProfileColour);
    for (int factor = 0; factor < kFactorCount; ++factor) {
        const int sten = stens[std::size_t(factor)];
        if (isOnScale(sten))
            painter.drawEllipse(QPointF(stenCentreX(sten), rowsTop + (factor + 0.5) * kRowHeight),
                                kDotRadius, kDotRadius);
    }
}

qreal drawProfileTable(QPainter &painter, qreal top, const Stens &stens)
{
    drawTableHeader(painter, top);
    const qreal rowsTop = top + kHeaderHeight;
    for (int factor = 0; factor < kFactorCount; ++factor)
        drawFactorRow(painter, rowsTop + factor * kRowHeight, factor, stens[std::size_t(factor)]);
    const qreal rowsBottom = rowsTop + kFactorCount * kRowHeight;
    drawScaleNumbers(painter, rowsBottom);
    drawAverageBand(painter, rowsTop, rowsBottom);
    drawScaleGrid(painter, top, rowsBottom + kHeaderHeight);
    drawProfileLine(painter, rowsTop, stens);
    return rowsBottom + kHeaderHeight;
}

qreal drawLegend(QPainter &painter, qreal top)
{
    painter.setPen(kInk);
    return drawText(painter, QRectF(0, top, kContentSize.width(), 80),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, laidOutText(kLegend),
                    pageFont(kSmallFont));
}

qreal drawSecondOrder(QPainter &painter, qreal top, const SecondOrder &values, QChar separator)
{
    painter.setPen(kInk);
    const QFont font = pageFont(kSmallFont);
    const qreal width = kContentSize.width() - kCaptionWidth;
    qreal y = top;
    for (std::size_t f = 0; f < values.size(); ++f) {
        const QString drivers = laidOutText(secondOrderDrivers(int(f)));
        const qreal height = std::max(kSecondOrderRowHeight,
            QFontMetricsF(font).boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, drivers)
                    .height() + 15);
        drawText(painter, QRectF(0, y, kCaptionWidth, height), Qt::AlignLeft | Qt::AlignVCenter,
                 secondOrderCaption(int(f), values[f], separator), pageFont(kTextFont, true));
        drawText(painter, QRectF(kCaptionWidth, y, width, height),
                 Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, drivers, font);
        y += height;
    }
    return y;
}

// One line per sign; a flagged one in bold, its text saying why.
qreal drawQualitySigns(QPainter &painter, qreal top, const QList<QualitySign> &signs)
{
    painter.setPen(kInk);
    qreal y = top;
    for (const QualitySign &sign : signs)
        y = drawText(painter, QRectF(0, y, kContentSize.width(), kSignHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     sign.text, pageFont(kSmallFont, sign.flagged));
    return y;
}

void drawProfileContent(QPainter &painter, const ReportData &data, const RegionalSettings &settings,
                        const QList<QualitySign> &signs)
{
    qreal y = drawTitle(painter, 0);
    y = drawRespondentLines(painter, y + 30, data, settings);
    y = drawHeading(painter, y + 40, kReportStensHeading);
    y = drawProfileTable(painter, y + 10, data.stens);
    y = drawLegend(painter, y + 10);
    y = drawHeading(painter, y + 30, kReportSecondOrderHeading);
    y = drawSecondOrder(painter, y + 5, data.secondOrder, settings.decimalSeparator);
    if (signs.isEmpty())
        return;
    y = drawHeading(painter, y + 10, kQualitySignsHeading);
    drawQualitySigns(painter, y, signs);
}

QString scalesList(const QList<int> &factors)
{
    QStringList names;
    for (const int factor : factors)
        names << factorLetter(factor) + QStringLiteral(" (") + scaleName(factor) + QLatin1Char(')');
    return names.join(QStringLiteral(", "));
}

} // namespace

QString secondOrderDrivers(int f)
{
    QList<int> raising;
    QList<int> lowering;
    for (int factor = 0; factor < kFactorCount; ++factor) {
        const int weight = secondOrderWeight(f, factor);
        if (weight > 0)
            raising << factor;
        else if (weight < 0)
            lowering << factor;
    }
    QStringList parts;
    if (!raising.isEmpty())
        parts << QStringLiteral("Повышают высокие стены: ") + scalesList(raising) + QLatin1Char('.');
    if (!lowering.isEmpty())
        parts << QStringLiteral("Понижают: ") + scalesList(lowering) + QLatin1Char('.');
    return parts.join(QLatin1Char(' '));
}

PaperDocument profilePageDocument(const ReportData &data, const RegionalSettings &settings,
                                  const QList<QualitySign> &signs)
{
    return {kReportTitle + QStringLiteral(": ") + data.surname, 1,
            [data, settings, signs](QPainter &painter, int) {
                painter.translate(kMargin, kMargin);
                drawProfileContent(painter, data, settings, signs);
            }};
}

void useProfilePageLayout(QPagedPaintDevice &device)
{
    usePaperLayout(device);
}

bool paintProfilePage(QPagedPaintDevice &device, const ReportData &data,
                      const RegionalSettings &settings, const QList<QualitySign> &signs)
{
    return paintDocument(device, profilePageDocument(data, settings, signs));
}

QByteArray profilePdf(const ReportData &data, const RegionalSettings &settings,
                      const QList<QualitySign> &signs)
{
    return documentPdf(profilePageDocument(data, settings, signs));
}

} // namespace zorven
