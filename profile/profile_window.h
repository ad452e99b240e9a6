#pragma once
// «Профиль…»: the printed profile page on screen, for showing a colleague. The screen
// chart's axis follows the largest sten and has no average band, so two profiles cannot
// be compared by it; the page has a fixed scale of 1 to 10 with the band 4 to 7 shaded and
// the meaning of each pole beside it. The window draws the very page the printer and the
// PDF get, with the same routine, as large as its width allows.

#include "paper/paper_document.h"

#include <QAbstractScrollArea>
#include <QDialog>

namespace zorven {

// The page at the viewport's width, scrolled up and down.
class PageView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit PageView(QWidget *parent = nullptr);

    void setDocument(const PaperDocument &document);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    qreal scale() const;
    void updateScrollRange();

    PaperDocument m_document;
};

class ProfileWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ProfileWindow(QWidget *parent = nullptr);

    void showPage(const PaperDocument &page);

signals:
    void printRequested();
    void savePdfRequested();

private:
    void fitToScreen();

    PageView *m_view;
};

} // namespace zorven
