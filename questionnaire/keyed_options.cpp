#include "questionnaire/keyed_options.h"

#include "questionnaire/answer_key.h"

#include <algorithm>

namespace zorven {

bool KeyedOptions::isComplete() const
{
    return std::none_of(m_options.begin(), m_options.end(),
                        [](std::uint8_t option) { return option == kNoOption; });
}

AnswerRecord answerRecordOf(const KeyedOptions &options)
{
    AnswerRecord answers;
    for (int q = 1; q < kStatementCount; ++q) {
        if (const int option = options.at(q); option != kNoOption)
            answers.set(q, answerCode(q, option));
    }
    return answers;
}

} // namespace zorven
