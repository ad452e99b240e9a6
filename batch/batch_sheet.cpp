#include "batch/batch_sheet.h"

#include "questionnaire/respondent.h"
#include "questionnaire/surname_text.h"
#include "results/results_table.h"

#include <algorithm>
#include <array>
#include <optional>

namespace zorven {

namespace {

enum Column { DateColumn, SurnameColumn, SexColumn, AgeColumn, AnswersColumn };

// Cyrillic «в» is the one letter read two ways: third in the alphabet (а, б, в) it
// means c, while the option buttons' hints «Ответ А / Ответ В / Ответ С» spell b with it.
enum class VeReading { Unknown, AsC, AsB };

// The spellings of each option: Latin, Cyrillic, digit. Looked up per character without
// lowering whole texts, since a batch reads 187 of them a row. «в» is decided per row.
std::optional<int> optionOf(QChar c, VeReading ve = VeReading::Unknown)
{
    switch (c.unicode()) {
    case u'a': case u'A': case u'а': case u'А': case u'1':
        return 1;
    case u'b': case u'B': case u'б': case u'Б': case u'2':
        return 2;
    case u'c': case u'C': case u'с': case u'С': case u'3':
        return 3;
    case u'в': case u'В':
        if (ve == VeReading::Unknown)
            return std::nullopt;
        return ve == VeReading::AsC ? 3 : 2;
    default:
        return std::nullopt;
    }
}

bool isVe(QChar c)
{
    return c == u'в' || c == u'В';
}

bool isAnswerCharacter(QChar c)
{
    return optionOf(c) || isVe(c);
}

// What the row's Cyrillic letters say about «в».
struct CyrillicLetters {
    qsizetype firstVe = -1;
    bool alphabet = false; // «б» is there
    bool hints = false;    // «с» is there
};

// «в» beside «б» can only be the alphabet's c, beside «с» only the hints' b; with both
// or neither the row does not say, and is not scored on a guess.
QString readingOfVe(const QString &text, const CyrillicLetters &letters, VeReading &ve)
{
    if (letters.alphabet != letters.hints) {
        ve = letters.alphabet ? VeReading::AsC : VeReading::AsB;
        return {};
    }
    return QStringLiteral("ответ на утверждение %1 «%2» неоднозначен: по алфавиту (а, б, в) "
                          "это c, по подсказкам кнопок (А, В, С) это b, а в строке %3")
        .arg(letters.firstVe + 1)
        .arg(text[letters.firstVe])
        .arg(letters.alphabet ? QStringLiteral("есть и «б», и «с»") : QStringLiteral("нет ни «б», ни «с»"));
}

// Each check returns the reason it fails, or an empty text. The letters are looked at
// once; a row with «в» a second time, when its reading is known.
QString checkAnswers(const QString &text, KeyedOptions &options)
{
    if (text.size() != kStatementCount)
        return QStringLiteral("ответов %1, а нужно %2").arg(text.size()).arg(kStatementCount);
    CyrillicLetters letters;
    for (int q = 1; q <= kStatementCount; ++q) {
        const QChar c = text[q - 1];
        if (const std::optional<int> option = optionOf(c)) {
            options.set(q, *option);
            letters.alphabet = letters.alphabet || c == u'б' || c == u'Б';
            letters.hints = letters.hints || c == u'с' || c == u'С';
        } else if (!isVe(c)) {
            return QStringLiteral("ответ на утверждение %1 «%2» не a, b или c (а, б, в, с; 1, 2, 3)")
                .arg(q)
                .arg(c);
        } else if (letters.firstVe < 0) {
            letters.firstVe = q - 1;
        }
    }
    if (letters.firstVe < 0)
        return {};
    VeReading ve = VeReading::Unknown;
    if (QString reason = readingOfVe(text, letters, ve); !reason.isEmpty())
        return reason;
    for (int q = int(letters.firstVe) + 1; q <= kStatementCount; ++q) {
        if (isVe(text[q - 1]))
            options.set(q, *optionOf(text[q - 1], ve));
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
    const std::optional<Sex> known = sexOfText(text);
    if (!known)
        return QStringLiteral("пол «%1» не «%2» и не «%3»")
            .arg(text, sexTextOf(Sex::Male), sexTextOf(Sex::Female));
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

// A row with other columns than its header is no row of the table: most often a torn
// line, or two glued together.
QString checkShape(const TableRecord &record, qsizetype columns)
{
    if (record.unclosedQuote)
        return QStringLiteral("кавычка не закрыта до конца файла");
    if (record.fields.size() != columns)
        return QStringLiteral("столбцов %1, а в строке заголовка %2")
            .arg(record.fields.size())
            .arg(columns);
    return {};
}

// Taken as the window's name field takes a pasted name; what it would refuse, the batch
// refuses too, so that a report never holds what the window could not have written.
QString checkSurname(const QString &field, QString &surname)
{
    surname = withBreaksBlanked(textOfTableField(field));
    const qsizetype refused = firstRefusedUnit(surname);
    if (refused < 0)
        return {};
    const QString code = QString::number(surname[refused].unicode(), 16).rightJustified(4, u'0');
    return QStringLiteral("в фамилии знак U+%1, которого не может быть в отчёте").arg(code.toUpper());
}

// The first failing check names the reason: later columns are not read after it.
QString checkedSheet(const TableRecord &record, qsizetype columns, BatchSheet &sheet)
{
    QString reason = checkShape(record, columns);
    if (!reason.isEmpty())
        return reason;
    const QStringList &fields = record.fields;
    reason = checkDate(fields[DateColumn].trimmed(), sheet.scoredAt);
    if (reason.isEmpty())
        reason = checkSurname(fields[SurnameColumn], sheet.surname);
    if (reason.isEmpty())
        reason = checkSex(fields[SexColumn].trimmed(), sheet.sex);
    if (reason.isEmpty())
        reason = checkAge(fields[AgeColumn].trimmed(), sheet.sex, sheet.age);
    if (reason.isEmpty())
        reason = checkAnswers(fields[AnswersColumn].trimmed(), sheet.options);
    return reason;
}

// The column whose header is `header`, from 0; -1 for none.
qsizetype columnUnder(const TableRecord &header, const QString &text)
{
    return header.fields.indexOf(text);
}

} // namespace

BatchColumns batchColumnsOf(const TableRecord &header)
{
    return {header.fields.size(), columnUnder(header, kVerificationHeader),
            columnUnder(header, kEntryMethodHeader), columnUnder(header, kMinutesHeader)};
}

// How the sheet was keyed and checked is the keying's record, not a score: it goes through
// unchanged.
std::variant<BatchSheet, QString> batchSheetOf(const TableRecord &record, const BatchColumns &columns)
{
    BatchSheet sheet;
    if (QString reason = checkedSheet(record, columns.count, sheet); !reason.isEmpty())
        return reason;
    sheet.verification = record.fields.value(columns.verification);
    sheet.entryMethod = record.fields.value(columns.entryMethod);
    sheet.minutes = record.fields.value(columns.minutes);
    return sheet;
}

bool looksLikeSheet(const TableRecord &record)
{
    if (record.fields.isEmpty())
        return false;
    if (parseTableDateTime(record.fields[DateColumn].trimmed()).isValid())
        return true;
    if (record.fields.size() <= AnswersColumn)
        return false;
    const QString answers = record.fields[AnswersColumn].trimmed();
    return answers.size() == kStatementCount
        && std::all_of(answers.cbegin(), answers.cend(), isAnswerCharacter);
}

} // namespace zorven
