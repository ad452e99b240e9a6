#pragma once
// Reading a results table back: its records split into fields as the table writes them
// (';' between fields, RFC 4180 quotes), each with the line of the file it starts on.

#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

class QIODevice;

namespace zorven {

// No field of the table is longer than this many characters: the answers are 187, a
// report's name at most 255 bytes, and the report line that holds the surname 180
// characters; the limit leaves room for hand-made tables and other programs' columns.
inline constexpr qsizetype kLongestTableField = 1024;
// Nor is a record longer than this: the table's 45 columns, or a mark-reader export's
// hundreds of short ones.
inline constexpr qsizetype kLongestTableRecord = 64 * 1024;

struct TableRecord {
    int line = 0;              // 1-based line of the file where the record starts
    QStringList fields;
    bool unclosedQuote = false; // the file ended inside a quoted field
    // A field or the record ran past the limits above (a quote left open, say): the
    // record is given with no fields as soon as it does, and reading goes on after the
    // first line end of the record, whatever quotes lie between, so that malformed input
    // costs a fixed amount of memory and loses no more than that one line.
    bool overlong = false;
};

// Splits `text` (decoded, without its byte-order mark) into records. Lines end in CR LF,
// LF or CR alone, as spreadsheets write all three; a quoted field may hold any of them.
// Empty lines are no records.
QList<TableRecord> tableRecords(QStringView text);

// The same records read from a device a few at a time, so that a table of any size is
// never held whole. The byte-order mark is skipped.
class TableRecordStream
{
public:
    // `pieceBytes` is how much is read at a time. With `endAt`, the device is read from
    // where it stands up to that position only, as though the file ended there.
    explicit TableRecordStream(QIODevice &device, qint64 pieceBytes = 1 << 20, qint64 endAt = -1);

    // Up to `count` records; fewer only at the end of the file or where it could not be
    // read on.
    QList<TableRecord> next(qsizetype count);

    // The file could not be read on: not UTF-8 there, or a read error.
    bool notUtf8() const { return m_notUtf8; }
    bool readFailed() const { return m_readFailed; }

private:
    bool readMore(qint64 bytes);

    QIODevice &m_device;
    qint64 m_pieceBytes;
    qint64 m_endAt;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    QString m_buffer;
    qsizetype m_at = 0;
    int m_line = 1;
    bool m_skipping = false; // passing over the rest of an overlong record
    bool m_deviceDone = false;
    bool m_readFailed = false;
    bool m_notUtf8 = false;
};

} // namespace zorven
