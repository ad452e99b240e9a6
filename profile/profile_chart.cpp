#include "profile/profile_chart.h"

#include "profile/profile_marks.h"
#include "profile/scale_names.h"
#include "profile/scale_poles.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLinearGradient>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <cmath>

namespace zorven {

namespace {

const QRect kCreatedGeometry(440, 16, 410, 260);
const QColor kTitleColour(255, 255, 0);
// Yellow on white is barely legible: the title and axis labels stand on navy instead, and
// the bars keep a white plot area.
const QColor kGroundColour(0, 0, 128);
const QColor kGroundTextColour(255, 255, 255);
const QColor kGradientFootColour(128, 0, 0);
constexpr int kLegendPixelSize = 9;
constexpr qreal kBarWidth = 0.7;
// Ten stens and a step of headroom fit in eleven intervals; larger values get a larger step.
constexpr int kMostTickIntervals = 11;

struct AxisScale
{
    double top;
    double step;
};

// The n-th of the whole-number steps 1, 2, 5, 10, 20, 50, ...
double wholeStep(int n)
{
    constexpr std::array<double, 3> kMantissas = {1, 2, 5};
    return kMantissas[n % 3] * std::pow(10.0, n / 3);
}

// The top is a whole number of steps and at least one step above the largest value, so
// the mark over the tallest bar has a step of room.
AxisScale scaleAbove(double largest)
{
    const double ceiling = std::ceil(largest);
    int n = 0;
    while (std::ceil(ceiling / wholeStep(n)) + 1 > kMostTickIntervals)
        ++n;
    const double step = wholeStep(n);
    return {(std::ceil(ceiling / step) + 1) * step, step};
}

QBrush barBrush(const QColor &colour)
{
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0, colour);
    gradient.setColorAt(1, kGradientFootColour);
    return gradient;
}

// A bar per set keeps every bar's own colour: set k holds its value at category k and
// nothing under the other bars.
QBarSet *barSetAt(int index, double value, const QString &label, const QColor &colour)
{
    auto *set = new QBarSet(label);
    for (int i = 0; i < index; ++i)
        set->append(0);
    set->append(value);
    set->setBrush(barBrush(colour));
    set->setPen(Qt::NoPen);
    return set;
}

QFont pixelFont(int pixelSize)
{
    QFont font;
    font.setPixelSize(pixelSize);
    return font;
}

QChart *createChart()
{
    auto *chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setTitle(QStringLiteral("Профиль"));
    chart->setTitleBrush(kTitleColour);
    chart->setBackgroundRoundness(0);
    chart->setBackgroundBrush(kGroundColour);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundVisible(true);
    chart->setDropShadowEnabled(false);
    chart->setMargins({2, 2, 2, 2});
    // The chart fills its 410 by 260 control to the edges, as the control's place promises.
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    // The series shows no legend entries, and an empty legend would still take a band of
    // the small chart away from the bars.
    chart->legend()->setFont(pixelFont(kLegendPixelSize));
    chart->legend()->hide();
    return chart;
}

} // namespace

ProfileSeries::ProfileSeries(QChart *chart)
    : m_chart(chart),
      m_bars(new QStackedBarSeries),
      m_categories(new QBarCategoryAxis),
      m_values(new QValueAxis)
{
    m_bars->setObjectName(QStringLiteral("Series1"));
    m_bars->setBarWidth(kBarWidth);
    m_bars->setParent(chart);

    m_categories->setTruncateLabels(false);
    m_categories->setLabelsBrush(kGroundTextColour);
    chart->addAxis(m_categories, Qt::AlignBottom);

    m_values->setTruncateLabels(false);
    m_values->setLabelsBrush(kGroundTextColour);
    m_values->setLabelFormat(QStringLiteral("%d"));
    m_values->setMinorTickCount(0);
    chart->addAxis(m_values, Qt::AlignLeft);

    m_marks = new ProfileMarks(chart, m_bars);
    fitValueAxis();
}

void ProfileSeries::clear()
{
    m_bars->clear();
    m_categories->clear();
    m_marks->clear();
    fitValueAxis();
}

void ProfileSeries::addPoint(double value, const QString &label, const QColor &colour)
{
    m_bars->append(barSetAt(pointCount(), value, label, colour));
    m_categories->append(label);
    fitValueAxis();
    m_marks->add(value);
    if (isOnChart())
        hideLegendEntries();
}

// A chart lays out all its bars again for every set added to a series it shows; the
// results step adds sixteen to the hidden chart, so they go on it together when it shows.
void ProfileSeries::putOnChart()
{
    if (isOnChart())
        return;
    m_chart->addSeries(m_bars);
    m_bars->attachAxis(m_categories);
    m_bars->attachAxis(m_values);
    hideLegendEntries();
    m_marks->place();
}

bool ProfileSeries::isOnChart() const
{
    return m_bars->chart() != nullptr;
}

int ProfileSeries::pointCount() const
{
    return m_bars->count();
}

double ProfileSeries::value(int index) const
{
    return m_bars->barSets().at(index)->at(index);
}

QString ProfileSeries::label(int index) const
{
    return m_categories->at(index);
}

QColor ProfileSeries::colour(int index) const
{
    return m_bars->barSets().at(index)->brush().gradient()->stops().constFirst().second;
}

QString ProfileSeries::markText(int index) const
{
    return m_marks->text(index);
}

void ProfileSeries::fitValueAxis()
{
    double largest = 0;
    for (int i = 0; i < pointCount(); ++i) {
        if (std::isfinite(value(i)))
            largest = std::max(largest, value(i));
    }
    const AxisScale scale = scaleAbove(largest);
    m_values->setRange(0, scale.top);
    m_values->setTickCount(int(scale.top / scale.step) + 1);
}

void ProfileSeries::hideLegendEntries()
{
    const QList<QLegendMarker *> markers = m_chart->legend()->markers(m_bars);
    for (QLegendMarker *marker : markers)
        marker->setVisible(false);
}

ProfileChart::ProfileChart(QWidget *parent) : QChartView(createChart(), parent), m_series(chart())
{
    setObjectName(QStringLiteral("Chart1"));
    setFrameShape(QFrame::NoFrame);
    setGeometry(kCreatedGeometry);
    setFixedSize(kCreatedGeometry.size());
    hide();
    // The chart carries the tooltip of the bar under the pointer, so that it shows with the
    // delay and for the time of every other tooltip.
    connect(m_series.m_bars, &QAbstractBarSeries::hovered, this, [this](bool entered, int index) {
        chart()->setToolTip(entered ? barToolTip(index) : QString());
    });
}

ProfileSeries &ProfileChart::series(int index)
{
    Q_ASSERT(index == 0);
    return m_series;
}

const ProfileSeries &ProfileChart::series(int index) const
{
    Q_ASSERT(index == 0);
    return m_series;
}

void ProfileChart::setTop(int top)
{
    move(x(), top);
}

void ProfileChart::setLeft(int left)
{
    move(left, y());
}

void ProfileChart::setVisible(bool visible)
{
    if (visible)
        m_series.putOnChart();
    QChartView::setVisible(visible);
}

ValueAxisRange ProfileChart::valueAxisRange() const
{
    const auto *axis = m_series.m_values;
    return {axis->min(), axis->max(), axis->tickCount()};
}

bool ProfileChart::axisLabelsTruncated() const
{
    return m_series.m_values->labelsTruncated() || m_series.m_categories->labelsTruncated();
}

QRectF ProfileChart::plotArea() const
{
    const QChart *profile = chart();
    return viewportTransform().mapRect(profile->mapRectToScene(profile->plotArea()));
}

QRectF ProfileChart::markRect(int index) const
{
    return viewportTransform().mapRect(m_series.m_marks->rect(index));
}

// Stens 1 to 3 and 8 to 10 stand for their pole; 4 to 7 are the average band, leaning
// towards the nearer pole. A sten of 0 (no norm group) leans nowhere.
QString ProfileChart::barToolTip(int index) const
{
    const int sten = int(m_series.value(index));
    QString text = m_series.label(index) + QStringLiteral(" — ") + scaleName(index)
                   + QStringLiteral("\nСтен ") + QString::number(sten);
    if (sten < 1)
        return text;
    const bool average = sten >= kAverageLowest && sten <= kAverageHighest;
    const bool low = sten <= 5;
    text += average ? (low ? QStringLiteral(", средний, ближе к низкому: ")
                           : QStringLiteral(", средний, ближе к высокому: "))
                    : (low ? QStringLiteral(", низкий: ") : QStringLiteral(", высокий: "));
    return text + (low ? lowPole(index) : highPole(index));
}

} // namespace zorven
