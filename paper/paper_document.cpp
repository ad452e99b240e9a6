#include "paper/paper_document.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>

#include <algorithm>

namespace zorven {

namespace {

constexpr int kPdfResolution = 300;
constexpr qreal kMmPerPoint = 25.4 / 72;

// From page units to the device's pixels. The painter starts at the corner of the
// device's printable area, which a printer may place inside the sheet's edge.
QTransform sheetToDevice(const QPagedPaintDevice &device)
{
    const QPageLayout layout = device.pageLayout();
    const int resolution = device.logicalDpiX();
    const QRectF sheet = layout.fullRectPixels(resolution);
    const QRectF printable = layout.paintRectPixels(resolution);
    const qreal scale = std::min(sheet.width() / kSheetSize.width(),
                                 sheet.height() / kSheetSize.height());
    return QTransform::fromTranslate(-printable.left(), -printable.top()).scale(scale, scale);
}

constexpr QChar kNoBreakSpace(0x00A0);

} // namespace

QString laidOutText(const QString &text)
{
    // A letter of the list standing alone as a word, the blank after it.
    static const QRegularExpression shortWord(
        QStringLiteral("(?<![\\p{L}\\p{N}])([вискаоуВИСКАОУ]) (?=\\S)"));
    return QString(text).replace(shortWord, QStringLiteral("\\1") + kNoBreakSpace);
}

QFont paperFont(qreal points, bool bold)
{
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(qRound(points * kMmPerPoint * kUnitsPerMm));
    font.setBold(bold);
    // Unhinted, so that text measured while laying out a page wraps the same on a PDF and
    // on a printer of any resolution.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void usePaperLayout(QPagedPaintDevice &device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

bool paintDocument(QPagedPaintDevice &device, const PaperDocument &document)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int page = 0; page < document.pageCount; ++page) {
        if (page > 0 && !device.newPage())
            return false;
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(sheetToDevice(device));
        document.drawPage(painter, page);
        painter.restore();
    }
    return painter.end();
}

QByteArray documentPdf(const PaperDocument &document)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setTitle(document.title);
        usePaperLayout(writer);
        paintDocument(writer, document);
    }
    return bytes;
}

} // namespace zorven
