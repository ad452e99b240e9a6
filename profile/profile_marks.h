#pragma once
// The value marks over the bars of the profile chart.

#include <QGraphicsRectItem>
#include <QList>
#include <QRectF>
#include <QString>

QT_BEGIN_NAMESPACE
class QChart;
class QAbstractSeries;
class QGraphicsSimpleTextItem;
QT_END_NAMESPACE

namespace zorven {

// Qt Charts leaves a zero-valued bar without its label and prints values with their
// fractions, so the marks are drawn here: one whole number above every bar, a zero bar
// included. The layer is a child of the chart and clips the marks to the plot area; it
// follows the plot area and the value axis on its own once created.
class ProfileMarks : public QGraphicsRectItem
{
public:
    ProfileMarks(QChart *chart, QAbstractSeries *series);

    // Adds the mark of the next bar, whose value is `value`.
    void add(double value);
    void clear();
    // Moves every mark above its bar, as the plot area and the axis range are now.
    void place();

    int count() const;
    QString text(int index) const;
    // The mark's box in the coordinates of the chart's scene.
    QRectF rect(int index) const;

private:
    QChart *m_chart;
    QAbstractSeries *m_series;
    QList<QGraphicsSimpleTextItem *> m_marks;
    QList<double> m_values;
};

} // namespace zorven
