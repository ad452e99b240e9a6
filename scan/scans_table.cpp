#include "scan/scans_table.h"

#include "questionnaire/respondent.h"
#include "results/results_table.h"
#include "results/table_records.h"

#include <QStringDecoder>

namespace zorven::scan {

namespace {

const QStringList kColumns = {QStringLiteral("Файл"), QStringLiteral("Страница"), QStringLiteral("Пол"),
                              QStringLiteral("Возраст"), QStringLiteral("Ответы"),
                              QStringLiteral("Сомнительных"), QStringLiteral("Состояние")};
const QStringList kGroupColumns = {QStringLiteral("Строка списка"), QStringLiteral("Фамилия")};
const QString kUnknown = QStringLiteral("?");
const QByteArray kByteOrderMark = "\xEF\xBB\xBF";

QByteArray joined(const QStringList &fields)
{
    QList<QByteArray> quoted;
    for (const QString &field : fields)
        quoted << quotedTableField(field);
    return quoted.join(';') + "\r\n";
}

// «Состояние»: «прочитан», that and what keeps the list from naming the sheet, or why the
// page was not read.
QString stateOf(const ScannedPage &page)
{
    if (!page.wasRead())
        return page.failure;
    return page.groupProblem.isEmpty() ? kPageRead : kPageRead + QStringLiteral(", но ") + page.groupProblem;
}

QChar sexReading(const QString &text)
{
    const std::optional<Sex> sex = sexOfText(text);
    if (!sex || *sex == Sex::None)
        return u'?';
    return *sex == Sex::Male ? u'm' : u'f';
}

} // namespace

QByteArray scansTableHeader(bool withGroup)
{
    return kByteOrderMark + joined(withGroup ? kColumns + kGroupColumns : kColumns);
}

QString answersOf(const ScannedPage &page)
{
    QString answers;
    for (const MarkGroup &statement : page.statements)
        answers += statement.reading;
    return answers;
}

int doubtfulCount(const ScannedPage &page)
{
    return int(answersOf(page).count(u'?'));
}

QString sexTextOf(const ScannedPage &page)
{
    switch (page.sex.reading.unicode()) {
    case u'm':
        return zorven::sexTextOf(Sex::Male);
    case u'f':
        return zorven::sexTextOf(Sex::Female);
    }
    return kUnknown;
}

QString ageTextOf(const ScannedPage &page)
{
    const QChar tens = page.ageTens.reading;
    const QChar units = page.ageUnits.reading;
    if (!tens.isDigit() || !units.isDigit())
        return kUnknown;
    return QString(tens) + units;
}

bool needsPerson(const ScannedPage &page)
{
    const QString answers = answersOf(page);
    return !page.wasRead() || answers.contains(u'?') || answers.contains(u'-') || !page.groupProblem.isEmpty()
           || sexTextOf(page) == kUnknown || ageTextOf(page) == kUnknown;
}

QByteArray scansTableRow(const ScannedPage &page, bool withGroup)
{
    QStringList fields = {page.file, page.page > 0 ? QString::number(page.page) : QString()};
    if (page.wasRead())
        fields << sexTextOf(page) << ageTextOf(page) << answersOf(page) << QString::number(doubtfulCount(page));
    else
        fields << QString() << QString() << QString() << QString();
    fields << stateOf(page);
    if (withGroup)
        fields << (page.groupRow > 0 ? QString::number(page.groupRow) : QString()) << formulaSafeText(page.surname);
    return joined(fields);
}

QList<ScannedPage> scannedPagesOf(const QByteArray &table, QString &fault)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(table);
    const QList<TableRecord> records = tableRecords(text);
    if (decoder.hasError() || records.isEmpty()
        || (records.front().fields != kColumns && records.front().fields != kColumns + kGroupColumns)) {
        fault = QStringLiteral("это не таблица прочитанных сканов: первая строка не «%1»")
                    .arg(kColumns.join(u';'));
        return {};
    }
    const qsizetype columns = records.front().fields.size();
    QList<ScannedPage> pages;
    for (qsizetype i = 1; i < records.size(); ++i) {
        const QStringList &f = records[i].fields;
        if (f.size() != columns) {
            fault = QStringLiteral("строка %1: полей %2, а нужно %3").arg(records[i].line).arg(f.size()).arg(columns);
            return {};
        }
        ScannedPage page;
        page.file = f[0];
        page.page = f[1].toInt();
        const QString &state = f[6];
        const bool read = state.startsWith(kPageRead);
        if (!read || f[4].size() != kStatementCount) {
            page.failure = read ? QStringLiteral("в строке не 187 ответов") : state;
            pages << page;
            continue;
        }
        for (int q = 0; q < kStatementCount; ++q)
            page.statements[std::size_t(q)].reading = f[4][q];
        page.sex.reading = sexReading(f[2]);
        const bool ageRead = f[3].size() == 2 && f[3][0].isDigit() && f[3][1].isDigit();
        page.ageTens.reading = ageRead ? f[3][0] : u'?';
        page.ageUnits.reading = ageRead ? f[3][1] : u'?';
        if (state.size() > kPageRead.size())
            page.groupProblem = state.mid(kPageRead.size() + QStringLiteral(", но ").size());
        if (columns > kColumns.size()) {
            page.groupRow = f[7].toInt();
            page.surname = textOfTableField(f[8]);
        }
        pages << page;
    }
    return pages;
}

} // namespace zorven::scan
