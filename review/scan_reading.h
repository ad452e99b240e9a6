#pragma once
// Reading the files chosen for «Прочитать сканы…»: scans (images and PDF files), or a
// scans.csv written before, whose readings stand and whose files are read again for the
// pictures; a group's list may come with them. The pages are read off the window's
// thread, one at a time, under a progress dialog that can be cancelled, and each is
// reduced to what the review shows as soon as it is read.

#include "review/review_page.h"

#include <QStringList>

#include <optional>

class QWidget;

namespace zorven::review {

class ReviewDialogs;

// The pages, in the order of the files and of their pages; nothing when the operator
// cancelled or the choice could not be read (the operator has been told why).
std::optional<QList<ReviewPage>> readForReview(const QStringList &files, QWidget *parent,
                                               ReviewDialogs &dialogs);

} // namespace zorven::review
