#include "paper/group_list.h"

#include "questionnaire/surname_text.h"
#include "results/table_records.h"

#include <QFile>
#include <QStringDecoder>

#include <variant>

namespace zorven {

namespace {

constexpr qsizetype kColumns = 3;

QString fault(int line, const QString &why)
{
    return QStringLiteral("строка %1: %2").arg(line).arg(why);
}

// The row, or why it is refused.
std::variant<GroupSheetRow, QString> rowOf(const TableRecord &record, int number)
{
    if (record.fields.size() != kColumns)
        return QStringLiteral("полей %1, а нужно три: фамилия;пол;возраст").arg(record.fields.size());
    GroupSheetRow row;
    row.number = number;
    row.surname = withBreaksBlanked(record.fields[0]).trimmed();
    if (row.surname.isEmpty())
        return QStringLiteral("нет фамилии");
    if (const qsizetype refused = firstRefusedUnit(row.surname); refused >= 0)
        return QStringLiteral("в фамилии недопустимый знак «%1»").arg(row.surname[refused]);
    const std::optional<Sex> sex = sexOfText(record.fields[1].trimmed());
    if (!sex || *sex == Sex::None)
        return QStringLiteral("пол «%1»: нужно «Мужской» или «Женский»").arg(record.fields[1]);
    row.sex = *sex;
    const std::optional<int> age = ageFromDigits(record.fields[2].trimmed());
    if (!age)
        return QStringLiteral("возраст «%1» не число").arg(record.fields[2]);
    if (*age < kMinimumAge || *age > *maximumAgeFor(row.sex))
        return QStringLiteral("возраст %1 вне пределов %2..%3 для пола «%4»")
            .arg(*age).arg(kMinimumAge).arg(*maximumAgeFor(row.sex)).arg(sexTextOf(row.sex));
    row.age = *age;
    return row;
}

} // namespace

const GroupSheetRow *GroupList::row(int number) const
{
    return number >= 1 && number <= rows.size() ? &rows[number - 1] : nullptr;
}

GroupList groupListOf(const QByteArray &bytes)
{
    GroupList list;
    QStringDecoder decoder(QStringDecoder::Utf8); // takes a byte-order mark off
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        list.faults << QStringLiteral("список не в кодировке UTF-8");
        return list;
    }
    const QList<TableRecord> records = tableRecords(text);
    if (records.size() < 2) {
        list.faults << QStringLiteral("в списке нет ни одной строки после заголовка");
        return list;
    }
    for (qsizetype i = 1; i < records.size(); ++i) {
        auto row = rowOf(records[i], int(i));
        if (auto *why = std::get_if<QString>(&row))
            list.faults << fault(records[i].line, *why);
        else
            list.rows << std::get<GroupSheetRow>(row);
    }
    if (!list.faults.isEmpty())
        list.rows.clear();
    return list;
}

GroupList readGroupList(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        GroupList list;
        list.faults << QStringLiteral("список %1 не прочитан: %2").arg(path, file.errorString());
        return list;
    }
    return groupListOf(file.readAll());
}

} // namespace zorven
