#include "profile/profile_window.h"

#include <QDialogButtonBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>

namespace zorven {

namespace {

const QString kTitle = QStringLiteral("Профиль");
const QString kPrint = QStringLiteral("&Печать…");
const QString kSavePdf = QStringLiteral("&Сохранить в PDF…");
const QString kClose = QStringLiteral("&Закрыть");

// The window opens this wide where the screen allows: the page's smallest text is then
// as large as the window's own.
constexpr int kPreferredPageWidth = 760;

} // namespace

PageView::PageView(QWidget *parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("ProfilePage"));
    setAccessibleName(kTitle);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAutoFillBackground(false);
}

void PageView::setDocument(const PaperDocument &document)
{
    m_document = document;
    setAccessibleDescription(document.title);
    updateScrollRange();
    viewport()->update();
}

qreal PageView::scale() const
{
    return viewport()->width() / kSheetSize.width();
}

void PageView::updateScrollRange()
{
    const int pageHeight = qCeil(kSheetSize.height() * scale());
    verticalScrollBar()->setRange(0, std::max(0, pageHeight - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(viewport()->height() / 20 + 1);
}

void PageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

// A white sheet on the window's grey, the page drawn on it as on paper.
void PageView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Mid));
    if (!m_document.drawPage)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(0, -verticalScrollBar()->value());
    painter.scale(scale(), scale());
    painter.fillRect(QRectF(QPointF(), kSheetSize), Qt::white);
    m_document.drawPage(painter, 0);
}

ProfileWindow::ProfileWindow(QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_view(new PageView(this))
{
    setObjectName(QStringLiteral("ProfileWindow"));
    setWindowTitle(kTitle);
    setModal(false);
    setSizeGripEnabled(true);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *print = buttons->addButton(kPrint, QDialogButtonBox::ActionRole);
    print->setObjectName(QStringLiteral("PrintPage"));
    QPushButton *save = buttons->addButton(kSavePdf, QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("SavePagePdf"));
    QPushButton *close = buttons->addButton(kClose, QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("ClosePage"));
    // Enter must not print: none of the buttons is the default.
    for (QPushButton *button : {print, save, close})
        button->setAutoDefault(false);
    connect(print, &QPushButton::clicked, this, &ProfileWindow::printRequested);
    connect(save, &QPushButton::clicked, this, &ProfileWindow::savePdfRequested);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addWidget(buttons);
    fitToScreen();
}

void ProfileWindow::showPage(const PaperDocument &page)
{
    setWindowTitle(kTitle + QStringLiteral(" — ") + page.title);
    m_view->setDocument(page);
}

// As high as the screen allows, as wide as the page needs at the preferred width.
void ProfileWindow::fitToScreen()
{
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const int width = std::min(kPreferredPageWidth + 40, available.width() * 9 / 10);
    const int height = available.height() * 9 / 10;
    resize(width, height);
}

} // namespace zorven
