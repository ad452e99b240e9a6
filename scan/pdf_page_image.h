#pragma once
// A scanner's PDF holds each page as one JPEG image drawn over the whole page. That image
// is taken as it is, at the scanner's own resolution, instead of drawing the page again:
// faster, and without a second resampling of the scan.

#include <QImage>
#include <QString>

#include <memory>

class PDFDoc;

namespace zorven::scan {

class PdfPageImages
{
public:
    // Opens the file a second time, beside the Poppler document that draws its other pages.
    explicit PdfPageImages(const QString &path);
    ~PdfPageImages();

    // The JPEG image that page `page` (from 1) consists of; a null image when the page is
    // anything else (text, drawings, several images, a turned page, another encoding).
    QImage onlyImageOf(int page);

private:
    std::unique_ptr<PDFDoc> m_document;
};

} // namespace zorven::scan
