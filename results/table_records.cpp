#include "results/table_records.h"

namespace zorven {

namespace {

class RecordReader
{
public:
    explicit RecordReader(QStringView text) : m_text(text) {}

    QList<TableRecord> records()
    {
        QList<TableRecord> records;
        while (!atEnd()) {
            if (takeLineEnd())
                continue;
            records << record();
        }
        return records;
    }

private:
    bool atEnd() const { return m_at >= m_text.size(); }
    QChar current() const { return m_text[m_at]; }

    bool atLineEnd() const
    {
        return current() == u'\n'
            || (current() == u'\r' && m_at + 1 < m_text.size() && m_text[m_at + 1] == u'\n');
    }

    bool takeLineEnd()
    {
        if (!atLineEnd())
            return false;
        m_at += current() == u'\r' ? 2 : 1;
        ++m_line;
        return true;
    }

    TableRecord record()
    {
        TableRecord record;
        record.line = m_line;
        for (;;) {
            record.fields << field(record.unclosedQuote);
            if (atEnd() || takeLineEnd())
                return record;
            ++m_at; // the ';' before the next field
        }
    }

    // A quoted part first, when the field starts with a quote; then plain text up to the
    // next ';' or line end (after a closing quote there should be none, but a hand-made
    // table may have some and loses nothing by keeping it).
    QString field(bool &unclosedQuote)
    {
        QString text;
        if (!atEnd() && current() == u'"')
            unclosedQuote = !takeQuoted(text);
        const qsizetype start = m_at;
        while (!atEnd() && current() != u';' && !atLineEnd())
            ++m_at;
        text += m_text.sliced(start, m_at - start);
        return text;
    }

    // Taken in runs up to each quote, so that a long field is not copied a character at
    // a time.
    bool takeQuoted(QString &text)
    {
        ++m_at;
        while (!atEnd()) {
            const qsizetype quote = m_text.indexOf(u'"', m_at);
            const qsizetype end = quote < 0 ? m_text.size() : quote;
            const QStringView run = m_text.sliced(m_at, end - m_at);
            m_line += int(run.count(u'\n'));
            text += run;
            m_at = end;
            if (quote < 0)
                return false;
            ++m_at;
            if (atEnd() || current() != u'"')
                return true;
            text += u'"';
            ++m_at;
        }
        return false;
    }

    QStringView m_text;
    qsizetype m_at = 0;
    int m_line = 1;
};

} // namespace

QList<TableRecord> tableRecords(QStringView text)
{
    return RecordReader(text).records();
}

} // namespace zorven
