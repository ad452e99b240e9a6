#include "profile/results_display.h"

#include "profile/profile_page.h"
#include "results/general_number.h"

#include <QChart>
#include <QLabel>
#include <QStringList>

#include <algorithm>

namespace zorven {

namespace {

// Every bar is pure red; the gradient from maroon below is the chart's own.
const QColor kBarColour(255, 0, 0);

// A screen reader cannot see the bars: the chart names the factors' stens in words.
void describeForScreenReaders(ProfileChart &chart, const Stens &stens)
{
    QStringList stenTexts;
    for (int factor = 0; factor < kFactorCount; ++factor) {
        const std::string_view name = kFactorNames[factor];
        stenTexts << QString::fromLatin1(name.data(), qsizetype(name.size())) + QStringLiteral(": ")
                         + QString::number(stens[factor]);
    }
    chart.setAccessibleName(chart.chart()->title());
    chart.setAccessibleDescription(QStringLiteral("Стены по факторам. ") + stenTexts.join(QStringLiteral("; ")));
}

} // namespace

QString secondOrderCaption(int index, double value, QChar decimalSeparator)
{
    return QStringLiteral("F%1 = ").arg(index + 1) + generalNumber(value, decimalSeparator);
}

void fillResultsDisplay(ProfileChart &chart, const std::array<QLabel *, 4> &valueLabels,
                        const Sheet &sheet, QChar decimalSeparator)
{
    chart.series(0).clear();
    for (int factor = 0; factor < kFactorCount; ++factor) {
        const std::string_view name = kFactorNames[factor];
        chart.series(0).addPoint(double(sheet.stens[factor]),
                                 QString::fromLatin1(name.data(), qsizetype(name.size())),
                                 kBarColour);
    }
    describeForScreenReaders(chart, sheet.stens);
    chart.setTop(0);
    chart.setLeft(0);
    chart.setVisible(true);

    for (std::size_t f = 0; f < valueLabels.size(); ++f) {
        QLabel *label = valueLabels[f];
        label->setText(secondOrderCaption(int(f), sheet.secondOrder[f], decimalSeparator));
        // A value such as "10,3" is wider than the designed label; it is never cut.
        label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
        // What moves the value, in the printed profile's words: a screen reader reads it too.
        label->setToolTip(secondOrderDrivers(int(f)));
        label->show();
    }
}

} // namespace zorven
