#include "results/screen_session.h"

namespace zorven {

void ScreenSession::answer(int option, qint64 milliseconds)
{
    Q_ASSERT(option >= 1 && option <= 3);
    if (m_finished)
        return;
    m_options.set(m_statement, option);
    qint64 &first = m_firstAnswerTimes[std::size_t(m_statement - 1)];
    if (first == kNotTimed)
        first = milliseconds;
    m_answeringMilliseconds += milliseconds;
    if (m_statement == kStatementCount)
        m_finished = true;
    else
        ++m_statement;
}

bool ScreenSession::back()
{
    if (m_finished || m_statement == 1)
        return false;
    --m_statement;
    return true;
}

int ScreenSession::answeredCount() const
{
    int count = 0;
    for (int q = 1; q <= kStatementCount; ++q)
        count += m_options.at(q) != kNoOption ? 1 : 0;
    return count;
}

} // namespace zorven
