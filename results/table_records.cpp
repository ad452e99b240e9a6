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
        while (!atEnd() && current() != u';' && !atLineEnd())
            text += m_text[m_at++];
        return text;
    }

    bool takeQuoted(QString &text)
    {
        ++m_at;
        while (!atEnd()) {
            const QChar c = m_text[m_at++];
            if (c == u'"') {
                if (atEnd() || current() != u'"')
                    return true;
                ++m_at;
            } else if (c == u'\n') {
                ++m_line;
            }
            text += c;
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
