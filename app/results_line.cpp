#include "app/results_line.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QTextLayout>

#include <limits>

namespace {

QTextOption wrappingOption()
{
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

// The height `text` takes, wrapped to `width`; each line break starts a new paragraph.
qreal wrappedHeight(const QFont &font, const QString &text, qreal width)
{
    const QFontMetricsF metrics(font);
    qreal height = 0;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(wrappingOption());
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            if (line.naturalTextWidth() > width)
                return std::numeric_limits<qreal>::infinity();
            height += metrics.lineSpacing();
        }
        layout.endLayout();
    }
    return height;
}

} // namespace

QString ResultsLine::reportLocationText(const QString &path)
{
    const QFileInfo report(path);
    return QStringLiteral("Результаты тестирования находятся в файле - ") + report.fileName()
           + QStringLiteral("\nв папке ") + QDir::toNativeSeparators(report.absolutePath());
}

bool ResultsLine::showsWholeText() const
{
    return fits(fittedFont());
}

void ResultsLine::showEvent(QShowEvent *event)
{
    fillRestOfParent();
    ClickableLabel::showEvent(event);
}

void ResultsLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(fittedFont());
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(QRectF(contentsRect()), text(), wrappingOption());
}

// The designed size first, then a pixel smaller at a time.
QFont ResultsLine::fittedFont() const
{
    QFont candidate = font();
    while (!fits(candidate) && candidate.pixelSize() > kSmallestPixelSize)
        candidate.setPixelSize(candidate.pixelSize() - 1);
    return candidate;
}

bool ResultsLine::fits(const QFont &font) const
{
    return wrappedHeight(font, text(), contentsRect().width()) <= contentsRect().height();
}

// As wide as the window leaves beside the line's left edge, down to the window's bottom.
void ResultsLine::fillRestOfParent()
{
    if (const QWidget *parent = parentWidget())
        setGeometry(x(), y(), parent->width() - 2 * x(), parent->height() - y());
}
