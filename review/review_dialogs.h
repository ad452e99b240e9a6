#pragma once
// The questions the review of scanned sheets puts to the operator, behind one seam so that
// tests can answer them without a box on screen.

#include <QString>
#include <QStringList>

class QWidget;

namespace zorven::review {

class ReviewDialogs
{
public:
    virtual ~ReviewDialogs() = default;

    // The scans to read: images, PDF files or a scans.csv written before; empty when the
    // operator cancels.
    virtual QStringList askScanFiles(QWidget *parent);

    // Stopping the review with pages still to settle: true to stop.
    virtual bool askToStopReview(QWidget *parent, int pagesLeft);

    // Reading could not start or a file could not be read at all.
    virtual void showReadingError(QWidget *parent, const QString &message);
};

} // namespace zorven::review
