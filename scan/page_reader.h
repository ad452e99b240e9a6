#pragma once
// Reading one scanned page: the sheet found and straightened (page_finder.h), each box
// placed on its printed outline, its ink measured against the printed empty box, and the
// marks read by thresholds taken from the sheet's own marks and by the sheet's rule for
// corrections. What the reader is not sure of is '?' with the reason.

#include "scan/scanned_page.h"

#include <QImage>

namespace zorven::scan {

// Everything of `page` but its file and page number. A page that cannot be read has its
// failure set and nothing else.
ScannedPage readPage(const QImage &scan);

} // namespace zorven::scan
