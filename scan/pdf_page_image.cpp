#include "scan/pdf_page_image.h"

#include <PDFDoc.h>
#include <Page.h>
#include <Stream.h>

#include <cmath>

namespace zorven::scan {

namespace {

// The image must fill the page: its sides in the page's proportion, within this share.
constexpr double kProportionTolerance = 0.03;

bool plainColours(const Object &colourSpace)
{
    return colourSpace.isName("DeviceGray") || colourSpace.isName("DeviceRGB");
}

QByteArray undecodedBytes(Stream *encoded)
{
    Stream *raw = encoded->getNextStream();
    QByteArray bytes;
    if (!raw)
        return bytes;
    raw->reset();
    unsigned char buffer[1 << 16];
    for (int got; (got = raw->doGetChars(int(sizeof buffer), buffer)) > 0;)
        bytes.append(reinterpret_cast<const char *>(buffer), got);
    raw->close();
    return bytes;
}

} // namespace

PdfPageImages::PdfPageImages(const QString &path)
    : m_document(std::make_unique<PDFDoc>(std::make_unique<GooString>(path.toStdString())))
{
}

PdfPageImages::~PdfPageImages() = default;

QImage PdfPageImages::onlyImageOf(int number)
{
    if (!m_document->isOk() || number < 1 || number > m_document->getNumPages())
        return {};
    Page *page = m_document->getPage(number);
    Dict *resources = page ? page->getResourceDict() : nullptr;
    if (!resources || page->getRotate() != 0 || !resources->lookup("Font").isNull())
        return {};
    const Object objects = resources->lookup("XObject");
    if (!objects.isDict() || objects.dictGetLength() != 1)
        return {};
    const Object image = objects.dictGetVal(0);
    if (!image.isStream() || image.getStream()->getKind() != strDCT)
        return {};
    Dict *description = image.streamGetDict();
    const Object width = description->lookup("Width");
    const Object height = description->lookup("Height");
    if (!description->lookup("Subtype").isName("Image") || !plainColours(description->lookup("ColorSpace"))
        || !width.isInt() || !height.isInt() || width.getInt() <= 0 || height.getInt() <= 0)
        return {};
    const double imageProportion = double(width.getInt()) / height.getInt();
    const double pageProportion = page->getMediaWidth() / page->getMediaHeight();
    if (std::abs(imageProportion / pageProportion - 1) > kProportionTolerance)
        return {};
    return QImage::fromData(undecodedBytes(image.getStream()), "JPG");
}

} // namespace zorven::scan
