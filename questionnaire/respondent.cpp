#include "questionnaire/respondent.h"

#include <QString>

#include <algorithm>
#include <limits>

namespace zorven {

std::optional<int> ageFromDigits(QStringView text)
{
    if (text.isEmpty() || !std::all_of(text.begin(), text.end(), isAgeDigit))
        return std::nullopt;
    bool fitsInt = false;
    const int number = text.toString().toInt(&fitsInt);
    return fitsInt ? number : std::numeric_limits<int>::max();
}

} // namespace zorven
