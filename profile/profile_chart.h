#pragma once
// The profile chart of the results display: one bar per primary factor, its height the
// sten, a mark with the sten above it and the factor's label below.

#include <QChartView>
#include <QColor>
#include <QRectF>
#include <QString>

QT_BEGIN_NAMESPACE
class QChart;
class QStackedBarSeries;
class QBarCategoryAxis;
class QValueAxis;
QT_END_NAMESPACE

namespace zorven {

class ProfileMarks;

// The value axis as the chart shows it: from `minimum` to `maximum` in `tickCount` ticks.
struct ValueAxisRange
{
    double minimum = 0;
    double maximum = 0;
    int tickCount = 0;
};

// The chart's one bar series: point k sits at X = k.
class ProfileSeries
{
    Q_DISABLE_COPY_MOVE(ProfileSeries)

public:
    // Takes every point away, so that a sheet scored again shows only its new stens.
    void clear();
    // Appends a bar of height `value` named `label` on the category axis and filled from
    // maroon at its foot to `colour` at its top.
    void addPoint(double value, const QString &label, const QColor &colour);

    int pointCount() const;
    double value(int index) const;
    QString label(int index) const;
    QColor colour(int index) const;
    QString markText(int index) const;

private:
    friend class ProfileChart;
    explicit ProfileSeries(QChart *chart);

    void putOnChart();
    bool isOnChart() const;
    void fitValueAxis();
    void hideLegendEntries();

    QChart *m_chart;
    QStackedBarSeries *m_bars;
    QBarCategoryAxis *m_categories;
    QValueAxis *m_values;
    ProfileMarks *m_marks;
};

// The chart control "Chart1" with its series "Series1", created hidden on `parent`, which
// owns it, at 440,16 and 410 by 260; it may move and show, its size never changes.
class ProfileChart : public QChartView
{
    Q_OBJECT

public:
    explicit ProfileChart(QWidget *parent);

    // The chart holds exactly one series, number 0.
    ProfileSeries &series(int index);
    const ProfileSeries &series(int index) const;

    void setTop(int top);
    void setLeft(int left);
    void setVisible(bool visible) override;

    ValueAxisRange valueAxisRange() const;
    bool axisLabelsTruncated() const;
    // Where the plot area and the marks show within the chart control.
    QRectF plotArea() const;
    QRectF markRect(int index) const;

    // What resting the pointer on bar `index` shows: the scale's name, its sten and the
    // meaning of the pole the sten leans to. The bars are the factors in factor order.
    QString barToolTip(int index) const;

private:
    ProfileSeries m_series;
};

} // namespace zorven
