#include "results/table_records.h"

#include <QIODevice>

#include <algorithm>
#include <optional>

namespace zorven {

namespace {

// Takes records one at a time from text that may be only the start of the file: where a
// record runs into the end of text that is not yet complete, nothing is taken and more
// text is wanted.
class RecordParser
{
public:
    RecordParser(QStringView text, qsizetype at, int line, bool complete, bool skipping = false)
        : m_text(text), m_at(at), m_line(line), m_complete(complete), m_skipping(skipping)
    {
    }

    // The next record; nothing at the end of the text, or where more text is wanted.
    std::optional<TableRecord> take()
    {
        if (m_skipping && !skipToLineEnd())
            return std::nullopt;
        while (!atEnd() && atLineEnd()) {
            if (!takeLineEnd())
                return std::nullopt;
        }
        if (atEnd())
            return std::nullopt;
        const qsizetype start = m_at;
        const int startLine = m_line;
        m_recordStart = start;
        TableRecord taken = record();
        // Reading goes on after the first line end of the overlong record: a quote left
        // open costs that one line of the file.
        if (taken.overlong || (m_ranOut && m_at - start > kLongestTableRecord)) {
            taken.overlong = true;
            taken.fields.clear();
            taken.unclosedQuote = false;
            m_ranOut = false;
            m_skipping = true;
            m_at = start;
            m_line = startLine;
            return taken;
        }
        if (m_ranOut) {
            m_at = start;
            m_line = startLine;
            return std::nullopt;
        }
        return taken;
    }

    qsizetype at() const { return m_at; }
    int line() const { return m_line; }
    bool skipping() const { return m_skipping; }

private:
    // Passes over what is left of an overlong record, up to its line end; false when the
    // text ran out first.
    bool skipToLineEnd()
    {
        const QChar *const begin = m_text.data();
        const QChar *const end = begin + m_text.size();
        m_at = std::find_if(begin + m_at, end, [](QChar c) { return c == u'\n' || c == u'\r'; }) - begin;
        m_skipping = atEnd();
        return !m_skipping;
    }

    bool tooLong(const QString &field) const
    {
        return field.size() > kLongestTableField || m_at - m_recordStart > kLongestTableRecord;
    }

    bool atEnd() const { return m_at >= m_text.size(); }
    QChar current() const { return m_text[m_at]; }

    // Whether the end of the text reached is where more text is still to come.
    bool runsOut()
    {
        if (atEnd() && !m_complete)
            m_ranOut = true;
        return m_ranOut;
    }

    bool atLineEnd() const { return current() == u'\n' || current() == u'\r'; }

    // A CR at the very end of incomplete text may be the first half of a CR LF.
    bool takeLineEnd()
    {
        const bool crLf = current() == u'\r' && m_at + 1 < m_text.size() && m_text[m_at + 1] == u'\n';
        if (current() == u'\r' && m_at + 1 == m_text.size() && !m_complete) {
            m_ranOut = true;
            return false;
        }
        m_at += crLf ? 2 : 1;
        ++m_line;
        return true;
    }

    TableRecord record()
    {
        TableRecord record;
        record.line = m_line;
        for (;;) {
            record.fields << field(record.unclosedQuote);
            if (tooLong(record.fields.back())) {
                record.overlong = true;
                return record;
            }
            if (runsOut() || atEnd())
                return record;
            if (atLineEnd()) {
                takeLineEnd();
                return record;
            }
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
        m_at = plainEnd();
        text += m_text.sliced(start, m_at - start);
        return text;
    }

    // Where the plain text from here ends: at a ';', a line end or the end of the text.
    // Scanned over the raw characters, since every character of a batch passes here.
    qsizetype plainEnd() const
    {
        const QChar *const begin = m_text.data();
        const QChar *const end = begin + m_text.size();
        const QChar *at = begin + m_at;
        while (at != end && *at != u';' && *at != u'\n' && *at != u'\r')
            ++at;
        return at - begin;
    }

    // Lines inside a quoted field: CR LF, LF and a CR alone each end one.
    int linesIn(QStringView run, qsizetype end) const
    {
        int lines = int(run.count(u'\n'));
        for (qsizetype i = run.indexOf(u'\r'); i >= 0; i = run.indexOf(u'\r', i + 1)) {
            const qsizetype after = end - run.size() + i + 1;
            if (after >= m_text.size() || m_text[after] != u'\n')
                ++lines;
        }
        return lines;
    }

    // Taken in runs up to each quote, so that a long field is not copied a character at
    // a time. A quote at the end of incomplete text may be the first of a doubled one.
    bool takeQuoted(QString &text)
    {
        ++m_at;
        while (!atEnd()) {
            // Looked at no further than the longest field, which the run is cut at.
            const qsizetype limit = std::min(m_text.size(), m_at + kLongestTableField + 1 - text.size());
            const qsizetype found = m_text.indexOf(u'"', m_at);
            const qsizetype quote = found >= limit ? -1 : found;
            const qsizetype end = quote < 0 ? limit : quote;
            const QStringView run = m_text.sliced(m_at, end - m_at);
            m_line += linesIn(run, end);
            text += run;
            m_at = end;
            if (tooLong(text))
                return true;
            if (quote < 0)
                break;
            ++m_at;
            if (runsOut())
                return false;
            if (atEnd() || current() != u'"')
                return true;
            text += u'"';
            ++m_at;
        }
        runsOut();
        return false;
    }

    QStringView m_text;
    qsizetype m_at = 0;
    int m_line = 1;
    bool m_complete = true;
    bool m_ranOut = false;
    bool m_skipping = false;
    qsizetype m_recordStart = 0;
};

} // namespace

QList<TableRecord> tableRecords(QStringView text)
{
    QList<TableRecord> records;
    RecordParser parser(text, 0, 1, true);
    while (std::optional<TableRecord> record = parser.take())
        records << std::move(*record);
    return records;
}

TableRecordStream::TableRecordStream(QIODevice &device, qint64 pieceBytes, qint64 endAt)
    : m_device(device), m_pieceBytes(pieceBytes), m_endAt(endAt)
{
}

QList<TableRecord> TableRecordStream::next(qsizetype count)
{
    QList<TableRecord> records;
    // A record longer than a piece (a quote left open, say) is parsed again from its start
    // after each read; the reads double while it lasts, so that this stays linear.
    qint64 piece = m_pieceBytes;
    while (records.size() < count) {
        RecordParser parser(m_buffer, m_at, m_line, m_deviceDone, m_skipping);
        const qsizetype before = records.size();
        while (records.size() < count) {
            std::optional<TableRecord> record = parser.take();
            if (!record)
                break;
            records << std::move(*record);
        }
        m_at = parser.at();
        m_line = parser.line();
        m_skipping = parser.skipping();
        piece = records.size() == before && m_at < m_buffer.size() ? piece * 2 : m_pieceBytes;
        if (records.size() == count || m_deviceDone || !readMore(piece))
            break;
    }
    return records;
}

// What was looked at is dropped, so that the buffer holds about one piece.
bool TableRecordStream::readMore(qint64 pieceBytes)
{
    m_buffer.remove(0, m_at);
    m_at = 0;
    const qint64 wanted = m_endAt < 0 ? pieceBytes : std::min(pieceBytes, m_endAt - m_device.pos());
    const QByteArray bytes = m_device.read(std::max<qint64>(wanted, 0));
    const bool atEnd = m_device.atEnd() || (m_endAt >= 0 && m_device.pos() >= m_endAt);
    if (bytes.isEmpty() && !atEnd) {
        m_readFailed = true;
        return false;
    }
    m_buffer += m_decoder(bytes);
    m_deviceDone = atEnd;
    // A sequence cut off by the end of the file waits in the decoder for its next byte:
    // one byte more, whose text is not kept, brings it out as an error.
    if (m_deviceDone)
        m_decoder(QByteArrayView("\n"));
    if (m_decoder.hasError()) {
        m_notUtf8 = true;
        return false;
    }
    return true;
}

} // namespace zorven
