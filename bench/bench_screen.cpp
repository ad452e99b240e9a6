// The respondent's screen: the time from an answer's key press to the next statement
// painted, over a whole session of 187 answers, with each answer synced to the session
// journal first (as the program does) and, for comparison, with no journal at all.
//
//   zorven_screen_bench [FOLDER]   the journal goes into a temporary folder inside FOLDER
//                                  (the current folder by default: /tmp may be a RAM disk,
//                                  where a sync costs nothing)

#include "administration/respondent_screen.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Spread {
    double median = 0;
    double worst = 0;
};

Spread spreadOf(std::vector<qint64> nanoseconds)
{
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return {nanoseconds[nanoseconds.size() / 2] / 1e6, nanoseconds.back() / 1e6};
}

// Milliseconds from each press to the next statement on screen.
Spread session(std::unique_ptr<zorven::SessionJournal> journal)
{
    RespondentScreen screen({}, std::move(journal));
    screen.present();
    QApplication::setActiveWindow(&screen);
    if (!QTest::qWaitForWindowExposed(&screen))
        std::fprintf(stderr, "the screen is not exposed: nothing is painted\n");
    QTest::mouseClick(screen.findChild<QPushButton *>(QStringLiteral("StartButton")), Qt::LeftButton);
    std::vector<qint64> presses;
    QElapsedTimer clock;
    while (!screen.session().isFinished()) {
        const int option = 1 + screen.session().statementOnShow() % 3;
        clock.start();
        QTest::keyClick(&screen, Qt::Key(Qt::Key_0 + option));
        presses.push_back(clock.nsecsElapsed());
    }
    QString why;
    if (auto journalLeft = screen.takeJournal())
        journalLeft->remove(&why);
    return spreadOf(presses);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
    const QString parent = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QTemporaryDir folder(QDir(parent).filePath(QStringLiteral("zorven-screen-bench-XXXXXX")));
    if (!folder.isValid()) {
        std::fprintf(stderr, "cannot make a folder in %s\n", qPrintable(parent));
        return 2;
    }
    QString why;
    auto journal = zorven::SessionJournal::start(QDir(folder.path()), {QStringLiteral("Бенчмарк"), zorven::Sex::Female, 20},
                                                 QDateTime::currentDateTime(), &why);
    if (!journal) {
        std::fprintf(stderr, "no journal: %s\n", qPrintable(why));
        return 2;
    }
    const Spread withJournal = session(std::move(journal));
    const Spread withoutJournal = session(nullptr);

    std::printf("\nThe respondent's screen: a key press to the next statement painted, 187 answers\n");
    std::printf("%-44s %10s %10s\n", "", "median ms", "worst ms");
    std::printf("%-44s %10.2f %10.2f\n", "answer synced to the journal (as the program)",
                withJournal.median, withJournal.worst);
    std::printf("%-44s %10.2f %10.2f\n", "no journal (the screen alone)", withoutJournal.median,
                withoutJournal.worst);
    std::printf("journal folder: %s\n", qPrintable(parent));
    return 0;
}
