#pragma once
// The program's command line: whether it opens the window or runs a command that needs no
// display. Decided before any application object exists, because a QGuiApplication
// aborts where no display can be reached, and --help must work over SSH as well.

#include <QString>
#include <QStringList>

namespace zorven {

// What the command line asks for. A command that runs without a window is one value here,
// one entry in the option table of command_line.cpp and one branch in main().
enum class CommandKind {
    Window,     // no option: the window for keying one sheet
    Help,       // -h, --help: the usage on standard output
    Version,    // -v, --version: the name and version on standard output
    Mistake,    // an unknown option, a missing value, a stray argument: standard error
    ScoreBatch, // --score, --out: batch scoring of a table
    Booklet,    // --booklet: the question booklet as a PDF file
    AnswerSheet, // --answer-sheet: the blank answer sheet as a PDF file
    AnswerSheets, // --answer-sheets: one sheet per row of a group's list, as a PDF file
    ReadScans,  // --read-scans, --group: scanned answer sheets read into a table
};

inline constexpr int kCommandLineShown = 0;
inline constexpr int kCommandLineMistake = 2;

struct Command {
    CommandKind kind = CommandKind::Window;
    // What Help, Version and Mistake print, ending in a line break.
    QString text;
    // The options of a headless command as its own checks read them: every option in the
    // order given, spelled "--name", each followed by its value when it takes one. So
    // "--score=IN" and "--score IN" reach the command alike. The files of --read-scans
    // after the first come as more "--read-scans FILE" pairs; --answer-sheets gives its
    // list and then its PDF file.
    QStringList arguments;
};

// `arguments` are the program's, its name first.
Command commandOf(const QStringList &arguments, const QString &version);

// The text of --help.
QString usageText();

} // namespace zorven
