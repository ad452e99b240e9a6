// Coefficients of the four second-order factors. The stens of B, G, N and O enter none.

#include "scoring/second_order.h"

#include <cstdint>

namespace zorven {
namespace {

struct Formula {
    std::array<std::int32_t, kFactorCount> weights; // in factor order
    std::int32_t constant;
};

constexpr std::array<Formula, 4> kFormulas = {{
    //       A   B   C   E   F   G   H   I   L   M   N   O  Q1  Q2  Q3  Q4    constant
    /* F1 */ {{ 0,  0, -2,  0,  0,  0, -2,  0, +2,  0,  0,  0,  0,  0, -2, +4}, +68},
    /* F2 */ {{+2,  0,  0, +3, +4,  0, +5,  0,  0,  0,  0,  0,  0, -2,  0,  0}, -11},
    /* F3 */ {{-4,  0, +2, +2, +2,  0, +2, -6,  0, -2,  0,  0,  0,  0,  0,  0}, +77},
    /* F4 */ {{-3,  0, -2, +4,  0,  0,  0,  0,  0, +3,  0,  0, +4, +4,  0,  0},   0},
}};

} // namespace

void computeSecondOrder(Sheet &sheet)
{
    for (std::size_t f = 0; f < kFormulas.size(); ++f) {
        std::int32_t numerator = kFormulas[f].constant;
        for (int factor = 0; factor < kFactorCount; ++factor)
            numerator += kFormulas[f].weights[factor] * std::int32_t{sheet.stens[factor]};
        sheet.secondOrder[f] = static_cast<double>(numerator) / 10.0;
    }
}

int secondOrderWeight(int f, int factor)
{
    return kFormulas[std::size_t(f)].weights[std::size_t(factor)];
}

} // namespace zorven
