#include "scan/scan_files.h"

#include "scan/pdf_page_image.h"

#include <QFile>
#include <QImageReader>

#include <poppler-qt6.h>

#include <memory>

namespace zorven::scan {

namespace {

constexpr double kPdfDotsPerInch = 300;

bool looksLikePdf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

// Poppler's own complaints about a damaged file would run into the progress line; the page
// or file it cannot give is reported in the table instead.
void quietPoppler()
{
    Poppler::setDebugErrorFunction([](const QString &, const QVariant &) {}, QVariant());
}

bool stopped(const StopAsked &stopAsked)
{
    return stopAsked && stopAsked();
}

QString forEachPdfPage(const QString &path, const PageTaker &take, const StopAsked &stopAsked)
{
    quietPoppler();
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document)
        return QStringLiteral("файл PDF не открывается");
    if (document->isLocked())
        return QStringLiteral("файл PDF защищён паролем");
    document->setRenderHint(Poppler::Document::Antialiasing);
    PdfPageImages images(path);
    for (int i = 0; i < document->numPages() && !stopped(stopAsked); ++i) {
        QImage image = images.onlyImageOf(i + 1);
        if (image.isNull()) {
            const std::unique_ptr<Poppler::Page> page = document->page(i);
            image = page ? page->renderToImage(kPdfDotsPerInch, kPdfDotsPerInch) : QImage();
        }
        take(i + 1, image, image.isNull() ? QStringLiteral("страница PDF не рисуется") : QString());
    }
    return {};
}

} // namespace

QString forEachPage(const QString &path, const PageTaker &take, const StopAsked &stopAsked)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("файл не открывается: %1").arg(file.errorString());
    file.close();
    if (looksLikePdf(path))
        return forEachPdfPage(path, take, stopAsked);

    QImageReader reader(path);
    if (!reader.canRead())
        return QStringLiteral("это не изображение и не PDF (или TIFF без модуля qt6-image-formats-plugins)");
    // A multi-page file says how many pages it holds before any is read; each is then
    // read by its number, which Qt's TIFF reader keeps to where stepping on does not.
    const int count = std::max(1, reader.imageCount());
    for (int page = 1; page <= count && !stopped(stopAsked); ++page) {
        const bool there = page == 1 || reader.jumpToImage(page - 1);
        const QImage image = there ? reader.read() : QImage();
        take(page, image, image.isNull() ? QStringLiteral("изображение не читается: %1").arg(reader.errorString())
                                         : QString());
    }
    return {};
}

QImage pageImage(const QString &path, int page, QString &failure)
{
    failure.clear();
    if (looksLikePdf(path)) {
        quietPoppler();
        const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
        const std::unique_ptr<Poppler::Page> pdfPage =
            document && !document->isLocked() && page >= 1 && page <= document->numPages() ? document->page(page - 1)
                                                                                          : nullptr;
        if (!pdfPage) {
            failure = QStringLiteral("в файле %1 нет страницы %2").arg(path).arg(page);
            return {};
        }
        document->setRenderHint(Poppler::Document::Antialiasing);
        const QImage image = PdfPageImages(path).onlyImageOf(page);
        return image.isNull() ? pdfPage->renderToImage(kPdfDotsPerInch, kPdfDotsPerInch) : image;
    }
    QImageReader reader(path);
    if (!reader.canRead() || (page > 1 && !reader.jumpToImage(page - 1))) {
        failure = QStringLiteral("в файле %1 нет страницы %2").arg(path).arg(page);
        return {};
    }
    const QImage image = reader.read();
    if (image.isNull())
        failure = QStringLiteral("изображение не читается: %1").arg(reader.errorString());
    return image;
}

} // namespace zorven::scan
