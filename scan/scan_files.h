#pragma once
// The pages of the files scanners write, one at a time so that a file of any length is
// read in bounded memory: JPEG, PNG and TIFF (a multi-page TIFF page by page) through Qt's
// image readers, PDF through Poppler: a page that is one JPEG image, as scanners write it,
// from that image, any other page drawn at 300 dots an inch.

#include <QImage>
#include <QString>

#include <functional>

namespace zorven::scan {

using PageTaker = std::function<void(int page, const QImage &image, const QString &failure)>;
// True when the pages still to come are not wanted (the operator cancelled).
using StopAsked = std::function<bool()>;

// Gives each page of the file in turn to `take` with its number from 1; a page that cannot
// be decoded comes as a null image with the reason. Before each page it asks `stopAsked`,
// when given, and gives no more once that says so. Returns why the file cannot be opened
// at all, in Russian, or an empty text.
QString forEachPage(const QString &path, const PageTaker &take, const StopAsked &stopAsked = {});

// Page `page` (from 1) of the file alone, as forEachPage gives it: for a page named by a
// scans.csv written before. A null image and `failure` set when it cannot be had.
QImage pageImage(const QString &path, int page, QString &failure);

} // namespace zorven::scan
