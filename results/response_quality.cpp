#include "results/response_quality.h"

#include "questionnaire/statements.h"

#include <algorithm>

namespace zorven {

const QString kQualitySignsHeading = QStringLiteral("Как даны ответы");

namespace {

const char16_t *const kLetters[] = {u"", u"a", u"b", u"c"};

void findLongestRun(const KeyedOptions &options, ResponseQuality &quality)
{
    int run = 0;
    for (int q = 1; q <= kQualityStatements; ++q) {
        const int option = options.at(q);
        run = option != kNoOption && q > 1 && option == options.at(q - 1) ? run + 1 : 1;
        if (option != kNoOption && run > quality.longestRun) {
            quality.longestRun = run;
            quality.runOption = option;
            quality.runStart = q - run + 1;
        }
    }
}

QualitySign middleAnswersSign(const ResponseQuality &quality)
{
    const bool flagged = quality.middleAnswers > kMiddleAnswersFlaggedAbove;
    QString text = QStringLiteral("средних ответов: %1 из %2")
                       .arg(quality.middleAnswers)
                       .arg(kQualityStatements);
    if (flagged)
        text += QStringLiteral(" — больше половины");
    return {text, flagged};
}

QualitySign longestRunSign(const ResponseQuality &quality)
{
    const bool flagged = quality.longestRun >= kLongRunFlaggedFrom;
    QString text = QStringLiteral("самая длинная серия одинаковых ответов: %1").arg(quality.longestRun);
    if (quality.longestRun > 1)
        text += QStringLiteral(" (%1, утверждения %2–%3)")
                    .arg(QString::fromUtf16(kLetters[quality.runOption]))
                    .arg(quality.runStart)
                    .arg(quality.runStart + quality.longestRun - 1);
    if (flagged)
        text += QStringLiteral(" — %1 и более подряд").arg(kLongRunFlaggedFrom);
    return {text, flagged};
}

QualitySign fastAnswersSign(const ResponseQuality &quality)
{
    const bool flagged = *quality.fastAnswers * kFastAnswersFlaggedOneIn > quality.timedAnswers;
    QString text = QStringLiteral("ответов быстрее, чем можно прочесть утверждение: %1 из %2")
                       .arg(*quality.fastAnswers)
                       .arg(quality.timedAnswers);
    if (flagged)
        text += QStringLiteral(" — больше десятой части");
    return {text, flagged};
}

} // namespace

// A word is whatever stands between blanks and holds a letter or a digit: a dash is none.
qint64 readingMilliseconds(int q)
{
    const QStringList pieces = statementText(q).split(u' ', Qt::SkipEmptyParts);
    const qint64 words = std::count_if(pieces.begin(), pieces.end(), [](const QString &piece) {
        return std::any_of(piece.begin(), piece.end(), [](QChar c) { return c.isLetterOrNumber(); });
    });
    return std::max(kShortestReadingMilliseconds, words * kReadingMillisecondsPerWord);
}

ResponseQuality responseQualityOf(const KeyedOptions &options)
{
    ResponseQuality quality;
    for (int q = 1; q <= kQualityStatements; ++q)
        quality.middleAnswers += options.at(q) == kMiddleOption ? 1 : 0;
    findLongestRun(options, quality);
    return quality;
}

ResponseQuality responseQualityOf(const KeyedOptions &options, const AnswerTimes &times)
{
    ResponseQuality quality = responseQualityOf(options);
    int fast = 0;
    for (int q = 1; q <= kQualityStatements; ++q) {
        const qint64 time = times[std::size_t(q - 1)];
        if (time == kNotTimed)
            continue;
        ++quality.timedAnswers;
        fast += time < readingMilliseconds(q) ? 1 : 0;
    }
    quality.fastAnswers = fast;
    return quality;
}

QList<QualitySign> qualitySigns(const ResponseQuality &quality)
{
    QList<QualitySign> signs{middleAnswersSign(quality), longestRunSign(quality)};
    if (quality.fastAnswers)
        signs << fastAnswersSign(quality);
    return signs;
}

} // namespace zorven
