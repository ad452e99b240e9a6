#pragma once
// The journal of a session on the respondent's screen: a small text file in the working
// folder, beside the reports and the results table, to which every answer is appended and
// synced before the next statement shows. A crash, a kill or a power cut loses at most the
// answer being given; the next start finds the journal and the session goes on where it
// stopped. The journal goes once the sheet's report and row are written.
//
// The file is the respondent's own answers, so only its owner may read it (mode 0600),
// and its name tells nothing of the respondent: zorven-session-<date>-<time>-<random>.journal.
// While a program works on a journal it holds a lock beside it (<journal>.lock), so that
// a second copy of the program in the same folder neither offers nor continues it.
//
// The format, UTF-8, one line each, LF ended:
//   zorven-session 1
//   surname <the surname, percent-encoded>
//   sex Женский                      (the sex list's text; empty for none)
//   age 20
//   started 2026-12-08T10:00:00
//   answer 12 b 5230                 (statement, letter, milliseconds on show)
//   back 11                          («Назад»: the statement returned to)
// The answer to statement 187 ends the session. A last line without its line end is the
// answer that was being written when the program stopped, and is left out.

#include "results/screen_session.h"

#include <QDateTime>
#include <QDir>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QLockFile;

namespace zorven {

// A journal read back.
struct JournalContents {
    SessionRespondent respondent;
    QDateTime startedAt;
    ScreenSession session;
};

// What reading a journal found: its contents, or why it cannot be used (in Russian).
struct JournalReading {
    std::optional<JournalContents> contents;
    QString problem;
};

// The journals in `folder`, oldest name first (the name starts with the date and time).
QStringList sessionJournalsIn(const QDir &folder);

JournalReading readSessionJournal(const QString &path);

class SessionJournal
{
public:
    ~SessionJournal();
    SessionJournal(const SessionJournal &) = delete;
    SessionJournal &operator=(const SessionJournal &) = delete;

    // A new journal in `folder`, its respondent lines written and synced; nullptr, with
    // `error` saying why in Russian, when it cannot be made.
    static std::unique_ptr<SessionJournal> start(const QDir &folder, const SessionRespondent &respondent,
                                                 const QDateTime &startedAt, QString *error);
    // An existing journal, to go on appending to; nullptr when another copy of the
    // program holds it, or it cannot be opened (`error` says which).
    static std::unique_ptr<SessionJournal> reopen(const QString &path, QString *error);

    // Each returns only once the line is on the disk; false, with `error`, when it is not.
    bool appendAnswer(int statement, int option, qint64 milliseconds, QString *error);
    bool appendBack(int statement, QString *error);

    // Deletes the journal; its lock goes with this object.
    bool remove(QString *error);

    QString path() const { return m_path; }

private:
    SessionJournal(QString path, int descriptor, std::unique_ptr<QLockFile> lock);
    bool appendLine(const QByteArray &line, QString *error);

    QString m_path;
    int m_descriptor = -1;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace zorven
