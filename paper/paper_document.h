#pragma once
// One routine lays out every page the program puts on paper, for the printer and for a
// PDF file alike: the question booklet, the blank answer sheet and the profile page. A
// page is drawn in tenths of a millimetre from the top-left corner of an A4 sheet, so
// that what is placed in millimetres lands there on the paper.

#include <QByteArray>
#include <QFont>
#include <QSizeF>
#include <QString>

#include <functional>

QT_BEGIN_NAMESPACE
class QPainter;
class QPagedPaintDevice;
QT_END_NAMESPACE

namespace zorven {

// Page units per millimetre, and the A4 sheet in page units.
inline constexpr qreal kUnitsPerMm = 10;
inline constexpr QSizeF kSheetSize(210 * kUnitsPerMm, 297 * kUnitsPerMm);

struct PaperDocument
{
    QString title; // the PDF's title, and the printer's document name
    int pageCount = 1;
    // Draws page `page` (0 for the first) in page units.
    std::function<void(QPainter &painter, int page)> drawPage;
};

// A sans-serif font `points` high on the page.
QFont paperFont(qreal points, bool bold = false);

// The text as a page lays it out: a one-letter preposition or conjunction («в», «и», «с»,
// «к», «а», «о», «у», capitals too) is bound to the word after it by a no-break space, so
// that no line ends in one, as Russian typesetting wants. Every text a page wraps, and
// every measurement of it, goes through here; the texts themselves stay as written.
QString laidOutText(const QString &text);

// A4 portrait, placed from the sheet's corner: set on a printer before the print dialog
// shows, so that the operator starts from it.
void usePaperLayout(QPagedPaintDevice &device);

// Paints every page. A device with paper other than A4 gets the pages scaled to fit.
// False when painting cannot start (a printer that cannot be opened) or a new page fails.
bool paintDocument(QPagedPaintDevice &device, const PaperDocument &document);

// The document as PDF bytes, its fonts embedded.
QByteArray documentPdf(const PaperDocument &document);

} // namespace zorven
