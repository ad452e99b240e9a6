#pragma once
// The sixteen primary factors and the program-wide results of one scoring run.

#include "questionnaire/keyed_options.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace zorven {

inline constexpr int kFactorCount = 16;

// Every per-factor array of the program runs in this order.
inline constexpr std::array<std::string_view, kFactorCount> kFactorNames = {
    "A", "B", "C", "E", "F", "G", "H", "I", "L", "M", "N", "O", "Q1", "Q2", "Q3", "Q4",
};

using RawScores = std::array<std::uint8_t, kFactorCount>;
using Stens = std::array<std::uint8_t, kFactorCount>; // 1..10 once converted, 0 before
using SecondOrder = std::array<double, 4>;             // F1..F4, whole tenths

// Everything the keying and the scoring run leave behind. One program run owns one of
// these for the one sheet it keys; every member is zero until its step writes it.
struct Sheet {
    KeyedOptions options; // the letters keyed, statement 187's included
    AnswerRecord answers;
    RawScores raw{};
    Stens stens{};
    SecondOrder secondOrder{};
};

} // namespace zorven
