#include "scan/read_scans_command.h"

#include "scan/page_reader.h"
#include "scan/scan_files.h"
#include "scan/scans_table.h"
#include "results/io_error.h"
#include "results/report_file.h"

#include <QDir>
#include <QHash>

#include <cstdio>
#include <unistd.h>

namespace zorven::scan {

namespace {

constexpr int kAllDone = 0;
constexpr int kPersonNeeded = 1;
constexpr int kFailed = 2;
constexpr qsizetype kPagesBetweenWrites = 25;

void say(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

int refused(const QString &why)
{
    say(stderr, QStringLiteral("zorventest: %1\n").arg(why));
    return kFailed;
}

struct Request {
    QStringList files;
    QString out;
    QString group;
};

QString valueAfter(const QStringList &arguments, qsizetype &i)
{
    return i + 1 < arguments.size() ? arguments[++i] : QString();
}

// The request, or why it is refused.
std::optional<Request> requestOf(const QStringList &arguments, QString &why)
{
    Request request;
    int groups = 0, outs = 0;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &option = arguments[i];
        if (option == QStringLiteral("--read-scans"))
            request.files << valueAfter(arguments, i);
        else if (option == QStringLiteral("--out"))
            request.out = valueAfter(arguments, i), ++outs;
        else if (option == QStringLiteral("--group"))
            request.group = valueAfter(arguments, i), ++groups;
    }
    if (request.out.isEmpty())
        why = QStringLiteral("для --read-scans нужна папка для таблицы: --out ПАПКА");
    else if (outs > 1 || groups > 1)
        why = QStringLiteral("--out и --group даются не больше одного раза");
    return why.isEmpty() ? std::optional(request) : std::nullopt;
}

bool onTerminal()
{
    return isatty(fileno(stderr));
}

// Keeps what the table needs of a page: its readings, not its image and boxes.
ScannedPage withoutPictures(ScannedPage page)
{
    page.image = QImage();
    for (MarkGroup &statement : page.statements) {
        statement.boxes.clear();
        statement.darkness.clear();
    }
    return page;
}

// Whole or not at all, and never through a link: as the reports are written.
QString writeTable(const QString &path, const QList<ScannedPage> &pages, bool withGroup)
{
    QByteArray bytes = scansTableHeader(withGroup);
    for (const ScannedPage &page : pages)
        bytes += scansTableRow(page, withGroup);
    const int code = writeReport(path, bytes);
    return code == 0 ? QString() : ioErrorText(code);
}

} // namespace

ScannedPage readPageOfFile(const QString &file, int page)
{
    QString failure;
    const QImage image = pageImage(file, page, failure);
    ScannedPage read = failure.isEmpty() ? readPage(image) : ScannedPage{};
    if (!failure.isEmpty())
        read.failure = failure;
    read.file = file;
    read.page = page;
    return read;
}

void nameByList(QList<ScannedPage> &pages, const GroupList &list)
{
    QHash<int, QStringList> pagesOfRow;
    for (const ScannedPage &page : pages)
        if (page.wasRead() && page.groupRow > 0)
            pagesOfRow[page.groupRow] << QStringLiteral("%1, стр. %2").arg(page.file).arg(page.page);
    for (ScannedPage &page : pages) {
        if (!page.wasRead())
            continue;
        const GroupSheetRow *row = list.row(page.groupRow);
        if (page.groupRow == 0)
            page.groupProblem = QStringLiteral("строка списка на бланке не найдена: бланк не из списка или его код "
                                               "не прочитан; фамилию, пол и возраст укажет человек");
        else if (!row)
            page.groupProblem = QStringLiteral("строки %1 нет в списке из %2 строк; фамилию, пол и возраст укажет "
                                               "человек")
                                    .arg(page.groupRow).arg(list.rows.size());
        else if (pagesOfRow[page.groupRow].size() > 1)
            page.groupProblem = QStringLiteral("строка %1 списка (%2) на нескольких страницах: %3; чья это — решит "
                                               "человек")
                                    .arg(page.groupRow).arg(row->surname, pagesOfRow[page.groupRow].join(QStringLiteral(" и ")));
        if (!page.groupProblem.isEmpty() || !row)
            continue;
        page.surname = row->surname;
        page.sex = MarkGroup{row->sex == Sex::Male ? u'm' : u'f', {}, {}, {}};
        const QString age = QString::number(row->age);
        page.ageTens = MarkGroup{age[0], {}, {}, {}};
        page.ageUnits = MarkGroup{age[1], {}, {}, {}};
    }
}

int readScansCommand(const QStringList &arguments)
{
    QString why;
    const std::optional<Request> request = requestOf(arguments, why);
    if (!request)
        return refused(why);
    GroupList list;
    if (!request->group.isEmpty()) {
        list = readGroupList(request->group);
        if (!list.faults.isEmpty())
            return refused(QStringLiteral("список группы %1 не принят:\n  %2")
                               .arg(request->group, list.faults.join(QStringLiteral("\n  "))));
    }
    if (!QDir().mkpath(request->out))
        return refused(QStringLiteral("папка %1 не создаётся").arg(request->out));

    const bool terminal = onTerminal();
    const bool withGroup = !request->group.isEmpty();
    const QString path = QDir(request->out).filePath(kScansTableFileName);
    QList<ScannedPage> pages;
    // The table as read so far, each page named by the list afresh: a row found on a
    // later page again takes back the name given before.
    const auto named = [&] {
        QList<ScannedPage> copy = pages;
        if (withGroup)
            nameByList(copy, list);
        return copy;
    };
    bool fileUnopened = false;
    for (const QString &file : request->files) {
        const QString failure = forEachPage(file, [&](int number, const QImage &image, const QString &notDecoded) {
            if (terminal)
                say(stderr, QStringLiteral("\r\033[KЧитается %1, страница %2").arg(file).arg(number));
            ScannedPage page;
            if (notDecoded.isEmpty())
                page = withoutPictures(readPage(image));
            else
                page.failure = notDecoded;
            page.file = file;
            page.page = number;
            pages << page;
            // A run stopped half-way through a long file keeps what it read.
            if (pages.size() % kPagesBetweenWrites == 0)
                writeTable(path, named(), withGroup);
        });
        if (!failure.isEmpty()) {
            fileUnopened = true;
            ScannedPage page;
            page.file = file;
            page.failure = failure;
            pages << page;
            say(stderr, QStringLiteral("%1%2: %3\n").arg(terminal ? QStringLiteral("\r\033[K") : QString(), file,
                                                            failure));
        }
    }
    if (terminal)
        say(stderr, QStringLiteral("\r\033[K"));
    pages = named();
    if (const QString notWritten = writeTable(path, pages, withGroup); !notWritten.isEmpty())
        return refused(QStringLiteral("таблица %1 не записана: %2").arg(path, notWritten));

    int unread = 0, withPerson = 0;
    for (const ScannedPage &page : pages) {
        unread += page.wasRead() ? 0 : 1;
        withPerson += page.wasRead() && needsPerson(page) ? 1 : 0;
    }
    say(stdout, QStringLiteral("Страниц: %1; прочитано без сомнений: %2; ждут человека: %3; не прочитано: %4. "
                               "Таблица: %5\n")
                    .arg(pages.size()).arg(pages.size() - unread - withPerson).arg(withPerson).arg(unread)
                    .arg(path));
    if (fileUnopened)
        return kFailed;
    return unread + withPerson > 0 ? kPersonNeeded : kAllDone;
}

} // namespace zorven::scan
