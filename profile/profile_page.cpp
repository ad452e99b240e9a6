#include "profile/profile_page.h"

#include "profile/results_display.h"
#include "profile/scale_names.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTextOption>

#include <algorithm>

namespace zorven {

namespace {

// The page is laid out in tenths of a millimetre on the printable part of an A4 sheet
// with margins of 15 mm; a device with another paper gets it scaled to fit.
constexpr qreal kMarginMm = 15;
constexpr QSizeF kContentSize(2100 - 2 * 10 * kMarginMm, 2970 - 2 * 10 * kMarginMm);
constexpr int kPdfResolution = 300;

const QString kTitle = QStringLiteral("Результаты теста Зорвенна - Форма А");
const QString kStensHeading = QStringLiteral("Результаты по шкалам (Стены)");
const QString kSecondOrderHeading = QStringLiteral("Дополнительные факторы второго порядка");
const QString kFactorColumn = QStringLiteral("Фактор");
const QString kStenColumn = QStringLiteral("Стен");

constexpr int kLowestSten = 1;
constexpr int kHighestSten = 10;

// Font heights, in the page's tenths of a millimetre (35 are about 10 points).
constexpr int kTitleFont = 60;
constexpr int kHeadingFont = 42;
constexpr int kTextFont = 38;
constexpr int kSmallFont = 32;

// The profile table: columns from the left, rows from the table's top.
constexpr qreal kLetterLeft = 20;
constexpr qreal kNameLeft = 130;
constexpr qreal kStenLeft = 790;
constexpr qreal kStenWidth = 110;
constexpr qreal kScaleLeft = 910;
constexpr qreal kScaleWidth = kContentSize.width() - kScaleLeft;
constexpr qreal kHeaderHeight = 75;
constexpr qreal kRowHeight = 115;
constexpr qreal kDotRadius = 17;
constexpr qreal kProfileLineWidth = 7;

const QColor kInk(0, 0, 0);
const QColor kGridColour(150, 150, 150);
const QColor kStripeColour(238, 238, 238);
const QColor kProfileColour(0, 0, 128);

QFont pageFont(int height, bool bold = false)
{
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(height);
    font.setBold(bold);
    return font;
}

// The font, made smaller where needed so that `text` fits `width`: fonts differ from
// platform to platform, and a cut scale name would be unreadable on paper.
QFont fittedFont(QFont font, const QString &text, qreal width)
{
    while (font.pixelSize() > 1 && QFontMetricsF(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
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
    const std::string_view name = kFactorNames[std::size_t(factor)];
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

// Where the page's units land in `area`: scaled alike in both directions, centred across.
QTransform pageToArea(const QRectF &area)
{
    const qreal scale =
        std::min(area.width() / kContentSize.width(), area.height() / kContentSize.height());
    const qreal left = area.left() + (area.width() - kContentSize.width() * scale) / 2;
    return QTransform::fromTranslate(left, area.top()).scale(scale, scale);
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
    drawText(painter, box, Qt::AlignHCenter | Qt::AlignVCenter, kTitle, pageFont(kTitleFont, true));
    painter.setPen(QPen(kInk, 4));
    painter.drawLine(QPointF(0, box.bottom() + 15), QPointF(kContentSize.width(), box.bottom() + 15));
    return box.bottom() + 15;
}

qreal drawRespondentLines(QPainter &painter, qreal top, const ReportData &data,
                          const RegionalSettings &settings)
{
    painter.setPen(kInk);
    QTextOption wrapping(Qt::AlignLeft | Qt::AlignVCenter);
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qreal y = top;
    for (const QString &line : respondentLines(data, settings)) {
        const QRectF box(0, y, kContentSize.width(), 60);
        setFontWrappingInto(painter, pageFont(kTextFont), line, box, wrapping);
        painter.drawText(box, line, wrapping);
        y = box.bottom();
    }
    return y;
}

qreal drawHeading(QPainter &painter, qreal top, const QString &text)
{
    painter.setPen(kInk);
    return drawText(painter, QRectF(0, top, kContentSize.width(), 70),
                    Qt::AlignLeft | Qt::AlignVCenter, text, pageFont(kHeadingFont, true));
}

qreal scaleColumnWidth()
{
    return kScaleWidth / (kHighestSten - kLowestSten + 1);
}

qreal stenCentreX(int sten)
{
    return kScaleLeft + (sten - kLowestSten + 0.5) * scaleColumnWidth();
}

void drawScaleNumbers(QPainter &painter, qreal top)
{
    painter.setPen(kInk);
    for (int sten = kLowestSten; sten <= kHighestSten; ++sten) {
        const QRectF box(stenCentreX(sten) - scaleColumnWidth() / 2, top, scaleColumnWidth(),
                         kHeaderHeight);
        drawText(painter, box, Qt::AlignCenter, QString::number(sten), pageFont(kSmallFont, true));
    }
}

void drawTableHeader(QPainter &painter, qreal top)
{
    painter.setPen(kInk);
    const QFont font = pageFont(kSmallFont, true);
    drawText(painter, QRectF(kLetterLeft, top, kStenLeft - kLetterLeft, kHeaderHeight),
             Qt::AlignLeft | Qt::AlignVCenter, kFactorColumn, font);
    drawText(painter, QRectF(kStenLeft, top, kStenWidth, kHeaderHeight), Qt::AlignCenter,
             kStenColumn, font);
    drawScaleNumbers(painter, top);
}

void drawFactorRow(QPainter &painter, qreal top, int factor, int sten)
{
    if (factor % 2 == 0)
        painter.fillRect(QRectF(0, top, kContentSize.width(), kRowHeight), kStripeColour);
    painter.setPen(kInk);
    const QFont font = pageFont(kTextFont);
    drawText(painter, QRectF(kLetterLeft, top, kNameLeft - kLetterLeft, kRowHeight),
             Qt::AlignLeft | Qt::AlignVCenter, factorLetter(factor), pageFont(kTextFont, true));
    const QRectF nameBox(kNameLeft, top, kStenLeft - kNameLeft - 20, kRowHeight);
    drawText(painter, nameBox, Qt::AlignLeft | Qt::AlignVCenter, scaleName(factor),
             fittedFont(font, scaleName(factor), nameBox.width()));
    drawText(painter, QRectF(kStenLeft, top, kStenWidth, kRowHeight), Qt::AlignCenter,
             QString::number(sten), pageFont(kTextFont, true));
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
    drawScaleGrid(painter, top, rowsBottom + kHeaderHeight);
    drawProfileLine(painter, rowsTop, stens);
    return rowsBottom + kHeaderHeight;
}

qreal drawSecondOrder(QPainter &painter, qreal top, const SecondOrder &values, QChar separator)
{
    painter.setPen(kInk);
    const qreal width = kContentSize.width() / qreal(values.size());
    for (std::size_t f = 0; f < values.size(); ++f) {
        const QRectF box(f * width, top, width, 70);
        drawText(painter, box, Qt::AlignLeft | Qt::AlignVCenter,
                 secondOrderCaption(int(f), values[f], separator), pageFont(kTextFont, true));
    }
    return top + 70;
}

} // namespace

void drawProfilePage(QPainter &painter, const QRectF &area, const ReportData &data,
                     const RegionalSettings &settings)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(pageToArea(area), true);

    qreal y = drawTitle(painter, 0);
    y = drawRespondentLines(painter, y + 40, data, settings);
    y = drawHeading(painter, y + 60, kStensHeading);
    y = drawProfileTable(painter, y + 15, data.stens);
    y = drawHeading(painter, y + 70, kSecondOrderHeading);
    drawSecondOrder(painter, y + 10, data.secondOrder, settings.decimalSeparator);

    painter.restore();
}

void useProfilePageLayout(QPagedPaintDevice &device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                     QPageLayout::Millimeter));
}

bool paintProfilePage(QPagedPaintDevice &device, const ReportData &data,
                      const RegionalSettings &settings)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // The painter starts at the printable area's corner; width and height are its size.
    drawProfilePage(painter, QRectF(0, 0, device.width(), device.height()), data, settings);
    return painter.end();
}

QByteArray profilePdf(const ReportData &data, const RegionalSettings &settings)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setTitle(kTitle + QStringLiteral(": ") + data.surname);
        useProfilePageLayout(writer);
        paintProfilePage(writer, data, settings);
    }
    return bytes;
}

} // namespace zorven
