#include "results/first_keyings.h"

#include "results/results_table.h"
#include "results/table_records.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace zorven {

namespace {

enum Column {
    DateColumn,
    SurnameColumn,
    SexColumn,
    AgeColumn,
    AnswersColumn,
    ReportColumn = kOlderResultsTableColumns - 1,
};

std::optional<KeyedOptions> optionsOf(const QString &letters)
{
    if (letters.size() != kStatementCount)
        return std::nullopt;
    KeyedOptions options;
    for (int q = 1; q <= kStatementCount; ++q) {
        const int option = QStringLiteral("abc").indexOf(letters[q - 1]) + 1;
        if (option == 0)
            return std::nullopt;
        options.set(q, option);
    }
    return options;
}

// The row as the window or the batch wrote it; none for anything else.
std::optional<TableSheet> tableSheetOf(const TableRecord &record)
{
    const QStringList &fields = record.fields;
    if (record.unclosedQuote || fields.size() < kOlderResultsTableColumns)
        return std::nullopt;
    const std::optional<Sex> sex = sexOfText(fields[SexColumn]);
    const std::optional<int> age = ageFromDigits(fields[AgeColumn]);
    const std::optional<KeyedOptions> options = optionsOf(fields[AnswersColumn]);
    const QDateTime scoredAt = parseTableDateTime(fields[DateColumn]);
    if (!sex || !age || !options || !scoredAt.isValid())
        return std::nullopt;
    // The surname and report name as typed, without the mark that keeps spreadsheets from
    // taking them for formulas.
    return TableSheet{scoredAt, textOfTableField(fields[SurnameColumn]), *sex, *age, *options,
                      textOfTableField(fields[ReportColumn])};
}

// The latest open sheet with the report file of `row`; -1 for none.
qsizetype sheetOfSameReport(const QList<TableSheet> &open, const TableSheet &row)
{
    for (qsizetype i = open.size() - 1; i >= 0; --i) {
        const bool sameReport = !row.reportFileName.isEmpty() && open[i].reportFileName == row.reportFileName;
        if (sameReport)
            return i;
    }
    return -1;
}

qsizetype latestOfSurname(const QList<TableSheet> &open, const QString &surname)
{
    for (qsizetype i = open.size() - 1; i >= 0; --i) {
        if (sameSurname(open[i].surname, surname))
            return i;
    }
    return -1;
}

} // namespace

bool sameSurname(const QString &one, const QString &other)
{
    return one.simplified().compare(other.simplified(), Qt::CaseInsensitive) == 0;
}

QList<TableSheet> unverifiedSheets(QStringView tableText, const QString &surname)
{
    QList<TableRecord> records = tableRecords(tableText);
    if (!records.isEmpty())
        records.removeFirst(); // the header
    QList<TableSheet> open;
    for (const TableRecord &record : records) {
        const std::optional<TableSheet> row = tableSheetOf(record);
        if (!row)
            continue;
        const bool verifies = !record.fields.value(kVerificationColumn).isEmpty();
        qsizetype earlier = sheetOfSameReport(open, *row);
        if (verifies && earlier < 0 && row->reportFileName.isEmpty())
            earlier = latestOfSurname(open, row->surname);
        if (earlier >= 0)
            open.removeAt(earlier);
        if (!verifies)
            open << *row;
    }
    QList<TableSheet> sheets;
    for (auto sheet = open.crbegin(); sheet != open.crend(); ++sheet) {
        if (sameSurname(sheet->surname, surname))
            sheets << *sheet;
    }
    return sheets;
}

QList<TableSheet> unverifiedSheetsInFile(const QString &tablePath, const QString &surname)
{
    if (QFileInfo(tablePath).isSymLink())
        return {};
    QFile table(tablePath);
    if (!table.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = table.readAll();
    if (bytes.startsWith(kUtf8ByteOrderMark))
        bytes.remove(0, kUtf8ByteOrderMark.size());
    return unverifiedSheets(QString::fromUtf8(bytes), surname);
}

} // namespace zorven
