// What keying a sheet twice buys. Simulated operators key 200 paper sheets through the
// sheet entry: each answer is keyed wrong with probability 1 %, each of sex and age with
// 1 %, and one sheet in twenty has a statement skipped on the paper, which shifts every
// later answer by one. The sheets are scored once keyed once, and once more after a second,
// independent operator has verified them as the window does: every difference stops
// keying and is settled from the paper. Prints the errors left in each case against the
// true sheets, and the keystrokes each costs. Counts, not times: one run gives one table.
//
//   zorven_verification_bench [SEED]

#include "entry/sheet_entry.h"
#include "entry/verification.h"
#include "scoring/scoring_run.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

using zorven::KeyedOptions;
using zorven::KeyedSheet;
using zorven::Sex;

constexpr int kSheets = 200;
constexpr double kAnswerError = 0.01;
constexpr double kFieldError = 0.01;
constexpr double kSkipPerSheet = 0.05;
// Keys for the respondent data besides the answers: a surname and initials of about this
// length, one key for the sex, two digits of age and «Далее».
constexpr int kSurnameKeys = 14;
constexpr int kRespondentKeys = kSurnameKeys + 1 + 2 + 1;

constexpr int kStatements = zorven::kStatementCount;

std::mt19937 g_random;

bool happens(double probability)
{
    return std::bernoulli_distribution(probability)(g_random);
}

int anyOf(int from, int to)
{
    return std::uniform_int_distribution<int>(from, to)(g_random);
}

int otherThan(int option)
{
    return (option + anyOf(0, 1)) % 3 + 1;
}

KeyedSheet truePaperSheet()
{
    KeyedSheet sheet;
    sheet.sex = happens(0.5) ? Sex::Male : Sex::Female;
    sheet.age = anyOf(zorven::kMinimumAge, *zorven::maximumAgeFor(sheet.sex));
    for (int q = 1; q <= kStatements; ++q)
        sheet.options.set(q, anyOf(1, 3));
    return sheet;
}

// One operator at the paper: where their eyes are, and the mistakes they make.
class SimulatedOperator
{
public:
    explicit SimulatedOperator(const KeyedSheet &paper)
        : m_paper(paper), m_skipped(happens(kSkipPerSheet) ? anyOf(1, kStatements - 1) : 0)
    {
    }

    bool skips() const { return m_skipped != 0; }
    Sex paperSex() const { return m_paper.sex; }
    int paperAge() const { return m_paper.age; }

    Sex sex() const
    {
        if (!happens(kFieldError))
            return m_paper.sex;
        return m_paper.sex == Sex::Male ? Sex::Female : Sex::Male;
    }

    int age() const
    {
        if (!happens(kFieldError))
            return m_paper.age;
        int wrong = m_paper.age;
        while (wrong == m_paper.age)
            wrong = anyOf(zorven::kMinimumAge, zorven::kFemaleMaximumAge);
        return wrong;
    }

    // The option keyed for the statement on screen: the operator reads the paper where
    // their eye is, whatever the screen's number.
    int option()
    {
        if (!m_hasSkipped && m_onPaper == m_skipped) {
            ++m_onPaper; // the eye jumps a line of the paper, once
            m_hasSkipped = true;
        }
        const int read = m_onPaper <= kStatements ? m_paper.options.at(m_onPaper) : anyOf(1, 3);
        ++m_onPaper;
        return happens(kAnswerError) ? otherThan(read) : read;
    }

    // A difference box names statement q: the operator finds it on the paper, reads it
    // right, and goes on from the next one.
    int lookAtPaper(int q)
    {
        m_onPaper = q + 1;
        return m_paper.options.at(q);
    }

private:
    const KeyedSheet &m_paper;
    int m_skipped; // 0: none
    bool m_hasSkipped = false;
    int m_onPaper = 1;
};

// The window's side of the sheet entry, reduced to what keying needs.
class KeyingView : public zorven::SheetEntryView
{
public:
    Sex keyedSex = Sex::None;
    int keyedAge = zorven::kMinimumAge;
    bool scored = false;

    bool nameChangedByUser() const override { return true; }
    Sex sex() const override { return keyedSex; }
    int age() const override { return keyedAge; }
    void setAge(int age) override { keyedAge = age; }
    void setAgeMaximum(int) override {}
    void enableNext() override {}
    void showStatement(const zorven::StatementOnShow &) override {}
    void setUndoButton(zorven::UndoButton) override {}
    void setStage(zorven::Stage) override {}
    void startScoringRun() override { scored = true; }
};

struct Keyed {
    KeyedSheet sheet;
    zorven::Stens stens{};
    int keys = 0;
};

zorven::Stens stensOf(const KeyedOptions &options, Sex sex, int age)
{
    zorven::Sheet sheet;
    sheet.options = options;
    sheet.answers = zorven::answerRecordOf(options);
    zorven::scoringRun(sheet, {sex, age}, [] {});
    return sheet.stens;
}

// One keying through the sheet entry. With a verification, the respondent data and each
// answer are compared as they are keyed, and a difference is settled from the paper
// before the entry takes it, as the window does.
Keyed keyThroughEntry(SimulatedOperator &keyer, zorven::Verification *verification)
{
    zorven::Sheet sheet;
    KeyingView view;
    zorven::SheetEntry entry(sheet.answers, sheet.options, view);
    Keyed keyed;
    entry.start();
    view.keyedSex = keyer.sex();
    view.keyedAge = keyer.age();
    keyed.keys += kRespondentKeys;
    if (verification) {
        const Sex sex = view.keyedSex;
        const int age = view.keyedAge;
        view.keyedSex = verification->sexDiffers(sex) ? keyer.paperSex() : sex;
        view.keyedAge = verification->ageDiffers(age) ? keyer.paperAge() : age;
        keyed.keys += (verification->sexDiffers(sex) ? 1 : 0) + (verification->ageDiffers(age) ? 1 : 0);
        verification->settleSex(sex, view.keyedSex);
        verification->settleAge(age, view.keyedAge);
    }
    entry.sexChanged();
    entry.nameChanged();
    entry.nextPressed();
    while (!view.scored) {
        const int q = entry.statementNumber();
        int option = keyer.option();
        ++keyed.keys;
        if (verification) {
            if (verification->compare(q, option)) {
                option = keyer.lookAtPaper(q);
                ++keyed.keys;
            }
            verification->settle(q, option);
        }
        entry.optionPressed(option);
    }
    keyed.sheet = {view.keyedSex, view.keyedAge, sheet.options};
    keyed.stens = stensOf(sheet.options, view.keyedSex, view.keyedAge);
    return keyed;
}

struct Tally {
    long wrongAnswers = 0;
    long wrongFields = 0;
    int wrongStenSheets = 0;
    long keys = 0;
    long coincidingErrors = 0; // both keyings wrong the same way: no difference to stop at

    void count(const Keyed &keyed, const KeyedSheet &paper, const zorven::Stens &trueStens)
    {
        for (int q = 1; q <= kStatements; ++q)
            wrongAnswers += keyed.sheet.options.at(q) != paper.options.at(q) ? 1 : 0;
        wrongFields += (keyed.sheet.sex != paper.sex ? 1 : 0) + (keyed.sheet.age != paper.age ? 1 : 0);
        wrongStenSheets += keyed.stens != trueStens ? 1 : 0;
        keys += keyed.keys;
    }
};

void printRow(const char *name, const Tally &tally)
{
    std::printf("%-34s %8ld %8ld %8d %10.1f %10ld\n", name, tally.wrongAnswers, tally.wrongFields,
                tally.wrongStenSheets, double(tally.keys) / kSheets, tally.coincidingErrors);
}

} // namespace

int main(int argc, char *argv[])
{
    const unsigned seed = argc > 1 ? unsigned(std::strtoul(argv[1], nullptr, 10)) : 20261208u;
    g_random.seed(seed);
    Tally once;
    Tally twice;
    int skips = 0;
    for (int i = 0; i < kSheets; ++i) {
        const KeyedSheet paper = truePaperSheet();
        const zorven::Stens trueStens = stensOf(paper.options, paper.sex, paper.age);

        SimulatedOperator first(paper);
        skips += first.skips() ? 1 : 0;
        const Keyed keyedOnce = keyThroughEntry(first, nullptr);
        once.count(keyedOnce, paper, trueStens);

        SimulatedOperator second(paper);
        skips += second.skips() ? 1 : 0;
        zorven::Verification verification(keyedOnce.sheet);
        Keyed verified = keyThroughEntry(second, &verification);
        verified.keys += keyedOnce.keys;
        twice.count(verified, paper, trueStens);
        for (int q = 1; q <= kStatements; ++q)
            twice.coincidingErrors += verified.sheet.options.at(q) != paper.options.at(q) ? 1 : 0;
        twice.coincidingErrors += (verified.sheet.sex != paper.sex ? 1 : 0) + (verified.sheet.age != paper.age ? 1 : 0);
    }
    std::printf("%d simulated sheets, seed %u: errors %.0f %% per answer, %.0f %% per respondent "
                "field,\na skipped statement in %.0f %% of keyings (%d of the %d keyings here)\n\n",
                kSheets, seed, kAnswerError * 100, kFieldError * 100, kSkipPerSheet * 100, skips,
                2 * kSheets);
    std::printf("%-34s %8s %8s %8s %10s %10s\n", "", "wrong", "wrong", "sheets", "keys", "both");
    std::printf("%-34s %8s %8s %8s %10s %10s\n", "", "answers", "sex/age", "wrong", "per sheet", "wrong");
    std::printf("%-34s %8s %8s %8s %10s %10s\n", "", "left", "left", "sten", "", "alike");
    printRow("keyed once", once);
    printRow("keyed once, verified by a second", twice);
    return 0;
}
