#pragma once
// The statement table and the answer option table of Form A.

#include <QString>

namespace zorven {

inline constexpr int kStatementCount = 187;
inline constexpr int kOptionCount = 3 * kStatementCount;
inline constexpr int kStatementCapacity = 161; // characters of code page 1251
inline constexpr int kOptionCapacity = 80;

// Text of statement q, 1 <= q <= 187, exactly as stored.
QString statementText(int q);

// Text of entry 1..561 of the option table: option a of statement q is entry 3(q-1)+a.
QString optionText(int entry);

// For a reasoning problem, the letter ('a', 'b' or 'c') of its correct option; 0 otherwise.
char reasoningSolution(int q);

} // namespace zorven
