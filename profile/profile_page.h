#pragma once
// The profile as one A4 page for the client's file. One routine draws it, for the printer
// and for the PDF file alike, so that both give the same page.

#include "results/regional_settings.h"
#include "results/report.h"

#include <QByteArray>
#include <QRectF>

QT_BEGIN_NAMESPACE
class QPainter;
class QPagedPaintDevice;
QT_END_NAMESPACE

namespace zorven {

// Draws the page into `area` of the painter's coordinates, scaled to fit its width and
// height: the report's title and respondent lines, the sixteen factors with letter, scale
// name and sten, the profile on a scale of 1 to 10, and F1..F4.
void drawProfilePage(QPainter &painter, const QRectF &area, const ReportData &data,
                     const RegionalSettings &settings);

// A4 portrait with margins of 15 mm: set on a printer before the print dialog shows, so
// that the operator starts from it and may change it.
void useProfilePageLayout(QPagedPaintDevice &device);

// Paints the page over the device's printable area, with whatever layout the device has.
// False when painting cannot start (a printer that cannot be opened).
bool paintProfilePage(QPagedPaintDevice &device, const ReportData &data,
                      const RegionalSettings &settings);

// The page as a PDF document of one A4 page.
QByteArray profilePdf(const ReportData &data, const RegionalSettings &settings);

} // namespace zorven
