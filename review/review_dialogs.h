#pragma once
// The questions the commands for scanned sheets put to the operator, behind one seam so that
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

    // The group's list that «Бланки для группы…» prints sheets for; empty when cancelled.
    virtual QString askGroupListPath(QWidget *parent);

    // Stopping the review with pages still to settle: true to stop.
    virtual bool askToStopReview(QWidget *parent, int pagesLeft);

    // Reading could not start or a file could not be read at all.
    virtual void showReadingError(QWidget *parent, const QString &message);
};

} // namespace zorven::review
