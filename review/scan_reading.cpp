#include "review/scan_reading.h"

#include "paper/group_list.h"
#include "review/review_dialogs.h"
#include "scan/page_reader.h"
#include "scan/read_scans_command.h"
#include "scan/scan_files.h"
#include "scan/scans_table.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

namespace zorven::review {

namespace {

// What the operator chose, sorted: scans to read, or a table of scans read before; and
// the group's list, when the sheets were printed for one.
struct Choice {
    QStringList scans;
    QString scansTable;
    QList<scan::ScannedPage> tablePages;
    std::optional<GroupList> list;
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A .csv file is a scans' table or a group's list, told apart by its content.
QString sortChoice(const QStringList &files, Choice &choice)
{
    for (const QString &path : files) {
        if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
            choice.scans << path;
            continue;
        }
        const QByteArray bytes = fileBytes(path);
        QString notATable;
        QList<scan::ScannedPage> pages = scan::scannedPagesOf(bytes, notATable);
        if (notATable.isEmpty() && choice.scansTable.isEmpty()) {
            choice.scansTable = path;
            choice.tablePages = std::move(pages);
            continue;
        }
        const GroupList list = groupListOf(bytes);
        if (!list.faults.isEmpty() || choice.list)
            return QStringLiteral("Файл %1 — не таблица прочитанных сканов и не список группы, или "
                                  "такой файл уже выбран: выберите одну таблицу сканов или сканы и не "
                                  "больше одного списка группы.\n\n%2")
                .arg(QDir::toNativeSeparators(path), list.faults.join(u'\n'));
        choice.list = list;
    }
    if (!choice.scansTable.isEmpty() && !choice.scans.isEmpty())
        return QStringLiteral("Выберите либо сканы, либо таблицу прочитанных сканов %1, но не то и "
                              "другое вместе.")
            .arg(QDir::toNativeSeparators(choice.scansTable));
    return {};
}

// The table names each file as it was given to the command that wrote it, often relative
// to a folder that is not the window's: looked for there, beside the table, and in the
// folder above the table (where `--out DIR` put it under the scans).
QString fileNamedInTable(const QString &named, const QString &tablePath)
{
    if (QFileInfo(named).isAbsolute())
        return named;
    const QDir tableFolder = QFileInfo(tablePath).absoluteDir();
    for (const QString &candidate : {QDir::current().absoluteFilePath(named), tableFolder.absoluteFilePath(named),
                                     tableFolder.absoluteFilePath(QStringLiteral("../") + named)})
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    return tableFolder.absoluteFilePath(named);
}

// The reading on its own thread: what it has done so far, for the progress dialog, and
// the pages once it is done.
class Reading
{
public:
    explicit Reading(Choice choice) : m_choice(std::move(choice)) {}

    // A cancelled reading stops between two pages and keeps nothing.
    void run()
    {
        if (m_choice.scansTable.isEmpty())
            readScans();
        else
            readTableAgain();
        if (m_cancelled)
            m_pages.clear();
    }

    void cancel() { m_cancelled = true; }
    bool wasCancelled() const { return m_cancelled; }
    int pagesRead() const { return m_pagesRead; }
    // Progress in files read, or in rows of a table read again.
    int done() const { return m_done; }
    int toDo() const
    {
        return int(m_choice.scansTable.isEmpty() ? m_choice.scans.size() : m_choice.tablePages.size());
    }
    QString place() const
    {
        QMutexLocker lock(&m_placeGuard);
        return m_place;
    }
    QList<ReviewPage> takePages() { return std::move(m_pages); }

private:
    void readScans()
    {
        QList<scan::ScannedPage> named; // readings alone, for the list to name the sheets
        for (const QString &file : std::as_const(m_choice.scans)) {
            if (m_cancelled)
                return;
            const QString failure = scan::forEachPage(
                file,
                [&](int number, const QImage &image, const QString &notDecoded) {
                    scan::ScannedPage page = readPage(file, number, image, notDecoded);
                    m_pages << reviewPageOf(page);
                    named << withoutPicture(std::move(page));
                },
                [this] { return m_cancelled.load(); });
            if (!failure.isEmpty()) {
                m_pages << unreadFile(file, failure);
                named << scan::ScannedPage{};
                named.back().failure = failure;
            }
            ++m_done;
        }
        nameByList(named);
    }

    // The table's readings stand; the file gives the picture and the boxes again.
    void readTableAgain()
    {
        for (const scan::ScannedPage &inTable : m_choice.tablePages) {
            if (m_cancelled)
                return;
            if (!inTable.wasRead()) {
                m_pages << reviewPageOf(inTable);
            } else {
                setPlace(QStringLiteral("%1, страница %2").arg(QFileInfo(inTable.file).fileName()).arg(inTable.page));
                const scan::ScannedPage read =
                    scan::readPageOfFile(fileNamedInTable(inTable.file, m_choice.scansTable), inTable.page);
                ++m_pagesRead;
                m_pages << (read.wasRead() ? reviewPageOf(withReadingsOf(inTable, read))
                                           : pageWithoutPicture(inTable, read.failure));
            }
            ++m_done;
        }
    }

    scan::ScannedPage readPage(const QString &file, int number, const QImage &image, const QString &notDecoded)
    {
        setPlace(QStringLiteral("%1, страница %2").arg(QFileInfo(file).fileName()).arg(number));
        scan::ScannedPage page;
        if (notDecoded.isEmpty())
            page = scan::readPage(image);
        else
            page.failure = notDecoded;
        page.file = file;
        page.page = number;
        ++m_pagesRead;
        return page;
    }

    static scan::ScannedPage withoutPicture(scan::ScannedPage page)
    {
        page.image = QImage();
        for (scan::MarkGroup &statement : page.statements)
            statement.boxes.clear();
        return page;
    }

    // A page of the table whose file could not be read again: one that needs nobody is
    // scored all the same; any other cannot be shown to a person.
    static ReviewPage pageWithoutPicture(const scan::ScannedPage &inTable, const QString &why)
    {
        ReviewPage page = reviewPageOf(inTable);
        if (!page.needsNobody())
            page.failure = QStringLiteral("файл для проверки не прочитан снова: %1").arg(why);
        return page;
    }

    // Sex and age of a group's sheet in the table are the list's; the marks' otherwise.
    static scan::ScannedPage withReadingsOf(const scan::ScannedPage &inTable, scan::ScannedPage read)
    {
        read.file = inTable.file;
        for (std::size_t q = 0; q < read.statements.size(); ++q)
            read.statements[q].reading = inTable.statements[q].reading;
        read.sex.reading = inTable.sex.reading;
        read.ageTens.reading = inTable.ageTens.reading;
        read.ageUnits.reading = inTable.ageUnits.reading;
        read.groupRow = inTable.groupRow;
        read.surname = inTable.surname;
        read.groupProblem = inTable.groupProblem;
        return read;
    }

    static ReviewPage unreadFile(const QString &file, const QString &why)
    {
        ReviewPage page;
        page.file = file;
        page.failure = why;
        return page;
    }

    // Sheets printed for a group are named by its list; without one a person names them.
    void nameByList(QList<scan::ScannedPage> &named)
    {
        if (m_choice.list)
            scan::nameByList(named, *m_choice.list);
        for (qsizetype i = 0; i < m_pages.size(); ++i) {
            if (!m_choice.list && named[i].groupRow > 0)
                named[i].groupProblem = QStringLiteral(
                    "бланк напечатан по списку группы, но список не выбран вместе со сканами; "
                    "фамилию, пол и возраст укажет человек");
            takeNaming(m_pages[i], named[i]);
        }
    }

    void setPlace(const QString &place)
    {
        QMutexLocker lock(&m_placeGuard);
        m_place = place;
    }

    const Choice m_choice;
    QList<ReviewPage> m_pages;
    std::atomic<bool> m_cancelled = false;
    std::atomic<int> m_pagesRead = 0;
    std::atomic<int> m_done = 0;
    mutable QMutex m_placeGuard;
    QString m_place;
};

// How often the progress dialog looks at the reading.
constexpr int kProgressMilliseconds = 100;

// A single file, whose pages are not counted before they are read, shows that it is busy.
void showProgress(QProgressDialog &progress, const Reading &reading)
{
    progress.setMaximum(reading.toDo() > 1 ? reading.toDo() : 0);
    progress.setValue(reading.done());
    const QString place = reading.place();
    progress.setLabelText(place.isEmpty() ? QStringLiteral("Сканы открываются…")
                                          : QStringLiteral("Читается %1\nПрочитано страниц: %2")
                                                .arg(place)
                                                .arg(reading.pagesRead()));
}

} // namespace

std::optional<QList<ReviewPage>> readForReview(const QStringList &files, QWidget *parent, ReviewDialogs &dialogs)
{
    Choice choice;
    if (const QString wrong = sortChoice(files, choice); !wrong.isEmpty()) {
        dialogs.showReadingError(parent, wrong);
        return std::nullopt;
    }
    Reading reading(std::move(choice));
    QProgressDialog progress(QStringLiteral("Сканы открываются…"), QStringLiteral("Отмена"), 0,
                             reading.toDo(), parent);
    progress.setObjectName(QStringLiteral("ScanProgress"));
    progress.setWindowTitle(QStringLiteral("Прочитать сканы"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    // Wide enough for a long file name, so that the dialog does not grow as it reads.
    progress.setMinimumWidth(480);

    QEventLoop waiting;
    const std::unique_ptr<QThread> thread(QThread::create([&reading] { reading.run(); }));
    QObject::connect(thread.get(), &QThread::finished, &waiting, &QEventLoop::quit);
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, [&reading, &progress] {
        reading.cancel();
        progress.setLabelText(QStringLiteral("Чтение прерывается…"));
    });
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, &progress, [&] { showProgress(progress, reading); });
    ticks.start(kProgressMilliseconds);
    thread->start();
    waiting.exec();
    thread->wait();
    if (reading.wasCancelled())
        return std::nullopt;
    return reading.takePages();
}

} // namespace zorven::review
