#include "batch/batch_sheet.h"

#include "questionnaire/respondent.h"
#include "results/results_table.h"

#include <array>
#include <optional>

namespace zorven {

namespace {

enum Column { DateColumn, SurnameColumn, SexColumn, AgeColumn, AnswersColumn };

const QString kMaleText = QStringLiteral("Мужской");
const QString kFemaleText = QStringLiteral("Женский");

std::optional<Sex> sexOf(const QString &text)
{
    for (const Sex sex : {Sex::Male, Sex::Female}) {
        if (text.compare(sexTextOf(sex), Qt::CaseInsensitive) == 0)
            return sex;
    }
    return std::nullopt;
}

// The three spellings of each option: Latin, Cyrillic, digit. Looked up per character
// without lowering whole texts, since a batch reads 187 of them a row.
std::optional<int> optionOf(QChar c)
{
    switch (c.unicode()) {
    case u'a': case u'A': case u'а': case u'А': case u'1':
        return 1;
    case u'b': case u'B': case u'б': case u'Б': case u'2':
        return 2;
    case u'c': case u'C': case u'в': case u'В': case u'3':
        return 3;
    default:
        return std::nullopt;
    }
}

// Each check returns the reason it fails, or an empty text.
QString checkAnswers(const QString &text, KeyedOptions &options)
{
    if (text.size() != kStatementCount)
        return QStringLiteral("ответов %1, а нужно %2").arg(text.size()).arg(kStatementCount);
    for (int q = 1; q <= kStatementCount; ++q) {
        const std::optional<int> option = optionOf(text[q - 1]);
        if (!option)
            return QStringLiteral("ответ на утверждение %1 «%2» не a, b или c (а, б, в; 1, 2, 3)")
                .arg(q)
                .arg(text[q - 1]);
        options.set(q, *option);
    }
    return {};
}

QString checkAge(const QString &text, Sex sex, int &age)
{
    const std::optional<int> number = ageFromDigits(text);
    if (!number)
        return QStringLiteral("возраст «%1» не целое число").arg(text);
    const int maximum = *maximumAgeFor(sex);
    if (*number < kMinimumAge || *number > maximum)
        return QStringLiteral("возраст %1 вне пределов %2..%3 для пола «%4»")
            .arg(text)
            .arg(kMinimumAge)
            .arg(maximum)
            .arg(sexTextOf(sex));
    age = *number;
    return {};
}

QString checkSex(const QString &text, Sex &sex)
{
    const std::optional<Sex> known = sexOf(text);
    if (!known)
        return QStringLiteral("пол «%1» не «%2» и не «%3»").arg(text, kMaleText, kFemaleText);
    sex = *known;
    return {};
}

QString checkDate(const QString &text, QDateTime &scoredAt)
{
    scoredAt = parseTableDateTime(text);
    if (!scoredAt.isValid())
        return QStringLiteral("дата «%1» не в виде ГГГГ-ММ-ДДTчч:мм:сс").arg(text);
    return {};
}

QString checkShape(const TableRecord &record)
{
    if (record.unclosedQuote)
        return QStringLiteral("кавычка не закрыта до конца файла");
    if (record.fields.size() < kResultsTableInputColumns)
        return QStringLiteral("столбцов %1, а нужно не меньше %2")
            .arg(record.fields.size())
            .arg(kResultsTableInputColumns);
    return {};
}

// The first failing check names the reason: later columns are not read after it.
QString checkedSheet(const TableRecord &record, BatchSheet &sheet)
{
    QString reason = checkShape(record);
    if (!reason.isEmpty())
        return reason;
    const QStringList &fields = record.fields;
    sheet.surname = fields[SurnameColumn];
    reason = checkDate(fields[DateColumn].trimmed(), sheet.scoredAt);
    if (reason.isEmpty())
        reason = checkSex(fields[SexColumn].trimmed(), sheet.sex);
    if (reason.isEmpty())
        reason = checkAge(fields[AgeColumn].trimmed(), sheet.sex, sheet.age);
    if (reason.isEmpty())
        reason = checkAnswers(fields[AnswersColumn].trimmed(), sheet.options);
    return reason;
}

// Whether the sheet was keyed twice is the keying's record, not a score: it goes through
// unchanged.
QString verificationOf(const TableRecord &record)
{
    constexpr int kVerificationColumn = kResultsTableColumns - 1;
    return record.fields.value(kVerificationColumn);
}

} // namespace

QString sexTextOf(Sex sex)
{
    switch (sex) {
    case Sex::Male:
        return kMaleText;
    case Sex::Female:
        return kFemaleText;
    case Sex::None:
        break;
    }
    return {};
}

std::variant<BatchSheet, QString> batchSheetOf(const TableRecord &record)
{
    BatchSheet sheet;
    if (QString reason = checkedSheet(record, sheet); !reason.isEmpty())
        return reason;
    sheet.verification = verificationOf(record);
    return sheet;
}

} // namespace zorven
