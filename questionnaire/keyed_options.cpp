#include "questionnaire/keyed_options.h"

#include "questionnaire/answer_key.h"

#include <algorithm>

namespace zorven {

bool KeyedOptions::isComplete() const
{
    return std::none_of(m_options.begin(), m_options.end(),
                        [](std::uint8_t option) { return option == kNoOption; });
}

namespace {

// The key's code per statement and option (kNoOption's column stays 0), looked up once:
// batch scoring turns a hundred thousand sheets into records.
using CodesByOption = std::array<std::array<std::uint8_t, 4>, kStatementCount + 1>;

const CodesByOption &codesByOption()
{
    static const CodesByOption codes = [] {
        CodesByOption table{};
        for (int q = 1; q <= kStatementCount; ++q) {
            for (int option = 1; option <= 3; ++option)
                table[q][option] = answerCode(q, option);
        }
        return table;
    }();
    return codes;
}

} // namespace

AnswerRecord answerRecordOf(const KeyedOptions &options)
{
    const CodesByOption &codes = codesByOption();
    AnswerRecord answers;
    for (int q = 1; q < kStatementCount; ++q) {
        if (const int option = options.at(q); option != kNoOption)
            answers.set(q, codes[q][option]);
    }
    return answers;
}

} // namespace zorven
