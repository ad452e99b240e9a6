#include "results/first_keyings.h"

#include "results/results_table.h"
#include "results/table_records.h"

#include <QFile>
#include <QFileInfo>

#include <QHash>

#include <optional>
#include <utility>
#include <vector>

namespace zorven {

namespace {

// Records read from the file at a time: a few hundred kilobytes of table.
constexpr qsizetype kRecordsPerPiece = 1000;

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
                      textOfTableField(fields[ReportColumn]), record.line};
}

// The rows read so far, kept only as far as the result can still need them: the open
// sheets of the surname looked for, in table order, and which of them holds each report
// file. A row of another surname matters only where it names one of those reports.
class UnverifiedSheets
{
public:
    explicit UnverifiedSheets(const QString &surname) : m_surname(surname.simplified()) {}

    void add(const TableRecord &record)
    {
        if (!mayMatter(record))
            return;
        std::optional<TableSheet> row = tableSheetOf(record);
        if (!row)
            return;
        const bool verifies = !record.fields.value(kVerificationColumn).isEmpty();
        const bool ofSurname = isOfSurname(row->surname);
        if (!row->reportFileName.isEmpty())
            close(m_openByReport.value(row->reportFileName, kNone));
        else if (verifies && ofSurname)
            close(latestOpen());
        if (!verifies && ofSurname)
            open(std::move(*row));
    }

    // Newest first.
    QList<TableSheet> sheets() const
    {
        QList<TableSheet> found;
        for (auto sheet = m_sheets.crbegin(); sheet != m_sheets.crend(); ++sheet) {
            if (*sheet)
                found << **sheet;
        }
        return found;
    }

private:
    static constexpr qsizetype kNone = -1;

    // Most rows are of other surnames and name none of the reports kept: they need not
    // even be read as sheets.
    bool mayMatter(const TableRecord &record) const
    {
        const QStringList &fields = record.fields;
        if (fields.size() < kOlderResultsTableColumns)
            return false;
        return isOfSurname(fields[SurnameColumn]) || m_openByReport.contains(textOfTableField(fields[ReportColumn]));
    }

    void open(TableSheet &&sheet)
    {
        if (!sheet.reportFileName.isEmpty())
            m_openByReport.insert(sheet.reportFileName, m_sheets.size());
        m_sheets.push_back(std::move(sheet));
    }

    void close(qsizetype index)
    {
        if (index == kNone)
            return;
        m_openByReport.remove(m_sheets[index]->reportFileName);
        m_sheets[index].reset();
        while (!m_sheets.empty() && !m_sheets.back())
            m_sheets.pop_back();
    }

    // The table's mark for formulas, a leading apostrophe, is no letter of a surname.
    bool isOfSurname(const QString &field) const
    {
        QStringView text(field);
        if (text.startsWith(u'\''))
            text = text.sliced(1);
        return text.trimmed().size() >= m_surname.size()
               && sameSurname(textOfTableField(field), m_surname);
    }

    qsizetype latestOpen() const { return m_sheets.empty() ? kNone : qsizetype(m_sheets.size()) - 1; }

    QString m_surname; // simplified
    // Closed sheets leave a gap, so that the indices in m_openByReport hold; the last one
    // is always open.
    std::vector<std::optional<TableSheet>> m_sheets;
    QHash<QString, qsizetype> m_openByReport;
};

} // namespace

bool sameSurname(const QString &one, const QString &other)
{
    return one.simplified().compare(other.simplified(), Qt::CaseInsensitive) == 0;
}

QList<TableSheet> unverifiedSheets(QStringView tableText, const QString &surname)
{
    QList<TableRecord> records = tableRecords(tableText);
    UnverifiedSheets lookup(surname);
    for (qsizetype i = 1; i < records.size(); ++i) // after the header
        lookup.add(records[i]);
    return lookup.sheets();
}

QList<TableSheet> unverifiedSheetsInFile(const QString &tablePath, const QString &surname,
                                         const std::function<void()> &onPiece)
{
    if (QFileInfo(tablePath).isSymLink())
        return {};
    QFile table(tablePath);
    if (!table.open(QIODevice::ReadOnly))
        return {};
    TableRecordStream stream(table);
    UnverifiedSheets lookup(surname);
    bool header = true;
    for (QList<TableRecord> piece = stream.next(kRecordsPerPiece); !piece.isEmpty();
         piece = stream.next(kRecordsPerPiece)) {
        for (const TableRecord &record : std::as_const(piece)) {
            if (!std::exchange(header, false))
                lookup.add(record);
        }
        if (onPiece)
            onPiece();
    }
    return lookup.sheets();
}

} // namespace zorven
