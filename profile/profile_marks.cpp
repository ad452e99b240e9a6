#include "profile/profile_marks.h"

#include <QChart>
#include <QFont>
#include <QGraphicsSimpleTextItem>
#include <QPen>

#include <cmath>

namespace zorven {

namespace {

constexpr int kMarkPixelSize = 8;
// Room between the top of a bar and the foot of its mark.
constexpr qreal kMarkGap = 2;
// The chart stacks its own items up to its legend; the marks go above all of them.
constexpr qreal kMarksZValue = 100;

QString wholeNumberText(double value)
{
    return QString::number(std::round(value), 'f', 0);
}

QFont markFont()
{
    QFont font;
    font.setPixelSize(kMarkPixelSize);
    return font;
}

} // namespace

ProfileMarks::ProfileMarks(QChart *chart, QAbstractSeries *series)
    : QGraphicsRectItem(chart), m_chart(chart), m_series(series)
{
    setPen(Qt::NoPen);
    setFlag(QGraphicsItem::ItemClipsChildrenToShape);
    setZValue(kMarksZValue);
    QObject::connect(chart, &QChart::plotAreaChanged, chart, [this] { place(); });
}

void ProfileMarks::add(double value)
{
    auto *mark = new QGraphicsSimpleTextItem(wholeNumberText(value), this);
    mark->setFont(markFont());
    m_marks.append(mark);
    m_values.append(value);
    place();
}

void ProfileMarks::clear()
{
    qDeleteAll(m_marks);
    m_marks.clear();
    m_values.clear();
}

void ProfileMarks::place()
{
    if (!m_series->chart())
        return; // placed when the series goes on the chart
    setRect(m_chart->plotArea());
    for (qsizetype i = 0; i < m_marks.size(); ++i) {
        const QPointF barTop = m_chart->mapToPosition(QPointF(i, m_values[i]), m_series);
        const QRectF box = m_marks[i]->boundingRect();
        m_marks[i]->setPos(barTop.x() - box.width() / 2, barTop.y() - kMarkGap - box.height());
    }
}

int ProfileMarks::count() const
{
    return int(m_marks.size());
}

QString ProfileMarks::text(int index) const
{
    return m_marks.at(index)->text();
}

QRectF ProfileMarks::rect(int index) const
{
    return m_marks.at(index)->sceneBoundingRect();
}

} // namespace zorven
