#pragma once
// The answer key table: the points each option of each statement earns.

#include <cstdint>

namespace zorven {

// Code of entry 1..561 of the key: option a of statement q is entry 3(q-1)+a.
std::uint8_t answerCode(int entry);

inline std::uint8_t answerCode(int q, int option)
{
    return answerCode(3 * (q - 1) + option);
}

} // namespace zorven
