#include "questionnaire/respondent.h"

#include <QString>

#include <algorithm>
#include <limits>

namespace zorven {

QString sexTextOf(Sex sex)
{
    switch (sex) {
    case Sex::Male:
        return QStringLiteral("Мужской");
    case Sex::Female:
        return QStringLiteral("Женский");
    case Sex::None:
        break;
    }
    return {};
}

std::optional<Sex> sexOfText(const QString &text)
{
    for (const Sex sex : {Sex::Male, Sex::Female}) {
        if (text.compare(sexTextOf(sex), Qt::CaseInsensitive) == 0)
            return sex;
    }
    return std::nullopt;
}

std::optional<int> ageFromDigits(QStringView text)
{
    if (text.isEmpty() || !std::all_of(text.begin(), text.end(), isAgeDigit))
        return std::nullopt;
    bool fitsInt = false;
    const int number = text.toString().toInt(&fitsInt);
    return fitsInt ? number : std::numeric_limits<int>::max();
}

} // namespace zorven
