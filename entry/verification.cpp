#include "entry/verification.h"

#include <algorithm>

namespace zorven {

Verification::Verification(const KeyedSheet &first) : m_first(first)
{
    m_settled.sex = first.sex;
    m_settled.age = first.age;
}

void Verification::settleSex(Sex second, Sex onPaper)
{
    m_differingFields += sexDiffers(second) ? 1 : 0;
    m_settled.sex = onPaper;
}

void Verification::settleAge(int second, int onPaper)
{
    m_differingFields += ageDiffers(second) ? 1 : 0;
    m_settled.age = onPaper;
}

std::optional<AnswerDifference> Verification::compare(int q, int second)
{
    const int first = m_first.options.at(q);
    m_differs[q - 1] = second != first;
    if (!m_differs[q - 1])
        return std::nullopt;
    const int run = runLengthEndingAt(q);
    return AnswerDifference{q, first, second, q - run + 1, run};
}

void Verification::settle(int q, int onPaper)
{
    m_settled.options.set(q, onPaper);
}

void Verification::takeBack(int q)
{
    m_differs[q - 1] = false;
    m_settled.options.set(q, kNoOption);
}

int Verification::answersCompared() const
{
    int compared = 0;
    for (int q = 1; q <= kStatementCount; ++q)
        compared += m_settled.options.at(q) != kNoOption ? 1 : 0;
    return compared;
}

QList<int> Verification::differingStatements() const
{
    QList<int> statements;
    for (int q = 1; q <= kStatementCount; ++q) {
        if (m_differs[q - 1] && m_settled.options.at(q) != kNoOption)
            statements << q;
    }
    return statements;
}

int Verification::corrections() const
{
    int corrections = (m_settled.sex != m_first.sex ? 1 : 0) + (m_settled.age != m_first.age ? 1 : 0);
    for (int q = 1; q <= kStatementCount; ++q) {
        const int settled = m_settled.options.at(q);
        corrections += settled != kNoOption && settled != m_first.options.at(q) ? 1 : 0;
    }
    return corrections;
}

int Verification::runLengthEndingAt(int q) const
{
    int start = q;
    while (start > 1 && m_differs[start - 2])
        --start;
    return q - start + 1;
}

} // namespace zorven
