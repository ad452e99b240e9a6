#pragma once
// What the scoring needs to know of the respondent besides the answers: sex and age.

#include <QMetaType>

#include <optional>

namespace zorven {

// None until the operator chooses one.
enum class Sex { None, Male, Female };

// The age bands of the norm groups: men 16 to 60, women 16 to 55.
inline constexpr int kMinimumAge = 16;
inline constexpr int kMaleMaximumAge = 60;
inline constexpr int kFemaleMaximumAge = 55;

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

} // namespace zorven

Q_DECLARE_METATYPE(zorven::Sex)
