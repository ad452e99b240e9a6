#pragma once
// The display half of the results step: the profile chart and the four value labels.

#include "profile/profile_chart.h"
#include "scoring/factors.h"

#include <QChar>

#include <array>

class QLabel;

namespace zorven {

// "F1 = " … "F4 = " and the value, as the report writes it.
QString secondOrderCaption(int index, double value, QChar decimalSeparator);

// Replaces the chart's points by the sixteen stens in factor order, moves the chart to the
// top-left corner and shows it, then captions and shows the labels of F1..F4 in order,
// each widened to its caption where it needs more room.
void fillResultsDisplay(ProfileChart &chart, const std::array<QLabel *, 4> &valueLabels,
                        const Sheet &sheet, QChar decimalSeparator);

} // namespace zorven
