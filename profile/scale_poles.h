#pragma once
// What a low and a high sten mean on each of the sixteen scales, a few words each, for
// the reader of a profile who does not know the scales by heart: the printed profile puts
// them left and right of the scale, the chart shows the one a bar leans to. Written from
// the scale meanings beside the statement texts (questionnaire/statements.cpp).

#include "scoring/factors.h"

#include <QString>

#include <array>
#include <string_view>

namespace zorven {

struct ScalePoles
{
    std::string_view low;  // stens 1 to 3 and towards them
    std::string_view high; // stens 8 to 10 and towards them
};

// In factor order; UTF-8.
inline constexpr std::array<ScalePoles, kFactorCount> kScalePoles = {{
    //    low pole                                      high pole
    /* A  */ {"сдержанность, дистанция в общении",      "теплота, интерес к людям"},
    /* B  */ {"медленнее решает отвлечённые задачи",    "быстро схватывает отвлечённые связи"},
    /* C  */ {"ранимость, переменчивость настроения",   "спокойствие, уравновешенность"},
    /* E  */ {"уступчивость, избегание споров",         "напористость, стремление руководить"},
    /* F  */ {"серьёзность, сдержанность",              "весёлость, живость, разговорчивость"},
    /* G  */ {"вольное обращение с правилами",          "верность долгу и правилам"},
    /* H  */ {"робость, держится в тени",               "смелость на людях, готовность к риску"},
    /* I  */ {"практичность, трезвость чувств",         "мягкость, впечатлительность"},
    /* L  */ {"доверчивость, уживчивость",              "настороженность, подозрительность"},
    /* M  */ {"практичность, внимание к конкретному",   "мечтательность, погружённость в идеи"},
    /* N  */ {"прямота, открытость",                    "дипломатичность, такт"},
    /* O  */ {"уверенность в себе, безмятежность",      "тревожность, склонность к самоупрёкам"},
    /* Q1 */ {"приверженность привычному",              "открытость новому, критичность"},
    /* Q2 */ {"опора на группу, нужда в поддержке",     "самостоятельность в решениях"},
    /* Q3 */ {"импульсивность, небрежность к порядку",  "организованность, самоконтроль"},
    /* Q4 */ {"расслабленность, терпеливость",          "напряжённость, нетерпеливость"},
}};

// The average band, shaded on the printed profile: stens 4 to 7.
inline constexpr int kAverageLowest = 4;
inline constexpr int kAverageHighest = 7;

inline QString lowPole(int factor)
{
    const std::string_view text = kScalePoles[std::size_t(factor)].low;
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

inline QString highPole(int factor)
{
    const std::string_view text = kScalePoles[std::size_t(factor)].high;
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace zorven
