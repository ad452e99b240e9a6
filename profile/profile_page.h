#pragma once
// The profile as one A4 page for the client's file, laid out by the paper routine that
// also lays out the booklet and the answer sheet, so that printer and PDF give the same
// page.

#include "paper/paper_document.h"
#include "results/regional_settings.h"
#include "results/report.h"
#include "results/response_quality.h"

#include <QByteArray>

QT_BEGIN_NAMESPACE
class QPagedPaintDevice;
QT_END_NAMESPACE

namespace zorven {

// The report's title and respondent lines; the sixteen factors with letter, scale name
// and sten, each between the meaning of its low pole and of its high pole, on a scale of
// 1 to 10 with the average band shaded; F1..F4, each with the scales that raise and lower
// it; under them, how the sheet was answered, when `signs` are given.
PaperDocument profilePageDocument(const ReportData &data, const RegionalSettings &settings,
                                  const QList<QualitySign> &signs = {});

// A4 portrait: set on a printer before the print dialog shows.
void useProfilePageLayout(QPagedPaintDevice &device);

// Paints the page on the device. False when painting cannot start (a printer that cannot
// be opened).
bool paintProfilePage(QPagedPaintDevice &device, const ReportData &data,
                      const RegionalSettings &settings, const QList<QualitySign> &signs = {});

// The page as a PDF document of one A4 page.
QByteArray profilePdf(const ReportData &data, const RegionalSettings &settings,
                      const QList<QualitySign> &signs = {});

// For F(f+1): which scales raise it and which lower it, as its formula weighs the stens.
QString secondOrderDrivers(int f);

} // namespace zorven
