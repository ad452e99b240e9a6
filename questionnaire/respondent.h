#pragma once
// What the scoring needs to know of the respondent besides the answers: sex and age,
// and how an age is typed.

#include <QChar>
#include <QMetaType>
#include <QString>
#include <QStringView>

#include <optional>

namespace zorven {

// None until the operator chooses one.
enum class Sex { None, Male, Female };

// The age bands of the norm groups: men 16 to 60, women 16 to 55.
inline constexpr int kMinimumAge = 16;
inline constexpr int kMaleMaximumAge = 60;
inline constexpr int kFemaleMaximumAge = 55;

// The sex list's text of a sex, as the report and the results table write it; empty for
// none.
QString sexTextOf(Sex sex);
// The sex such a text names, in any case; none for any other text.
std::optional<Sex> sexOfText(const QString &text);

// The upper age limit of a sex; none while no sex is chosen.
constexpr std::optional<int> maximumAgeFor(Sex sex)
{
    switch (sex) {
    case Sex::Male:
        return kMaleMaximumAge;
    case Sex::Female:
        return kFemaleMaximumAge;
    case Sex::None:
        break;
    }
    return std::nullopt;
}

// An age is typed in decimal digits only: no sign, no separator.
inline bool isAgeDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The age that a text of digits holds; none for an empty text or anything but digits. A
// number too large for an int gives the largest int, which is above every maximum.
std::optional<int> ageFromDigits(QStringView text);

} // namespace zorven

Q_DECLARE_METATYPE(zorven::Sex)
