#pragma once
// Short Russian names of the sixteen scales, for the printed profile. Each names the pole
// a high sten stands for, as the scale meanings beside the statement texts describe it.

#include "scoring/factors.h"

#include <QString>

#include <array>
#include <string_view>

namespace zorven {

// In factor order A, B, C, E, F, G, H, I, L, M, N, O, Q1, Q2, Q3, Q4; UTF-8.
inline constexpr std::array<std::string_view, kFactorCount> kScaleNames = {
    "Теплота в общении",          // A  warmth towards people
    "Логическое мышление",        // B  reasoning
    "Эмоциональная устойчивость", // C  emotional steadiness
    "Напористость",               // E  assertiveness
    "Жизнерадостность",           // F  liveliness
    "Добросовестность",           // G  conscientiousness
    "Смелость в общении",         // H  social boldness
    "Чувствительность",           // I  sensitivity
    "Настороженность",            // L  vigilance
    "Воображение",                // M  imagination
    "Дипломатичность",            // N  discretion
    "Тревожность",                // O  apprehension
    "Открытость новому",          // Q1 openness to change
    "Самостоятельность",          // Q2 self-reliance
    "Самоконтроль",               // Q3 self-discipline
    "Напряжённость",              // Q4 tension
};

inline QString scaleName(int factor)
{
    const std::string_view name = kScaleNames[std::size_t(factor)];
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

} // namespace zorven
