#pragma once
// The results report: its 30 lines as code page 1251 bytes, and the name of its file.

#include "questionnaire/respondent.h"
#include "results/regional_settings.h"
#include "scoring/factors.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <array>

namespace zorven {

// The file name and every data line pass through a line buffer of this many characters
// (code page 1251: one byte each); whatever is longer is cut.
inline constexpr int kReportLineCapacity = 180;

// The report's title and the headings of its two blocks of results; the printed profile
// shows them too.
extern const QString kReportTitle;
extern const QString kReportStensHeading;
extern const QString kReportSecondOrderHeading;

// What the report is made of, as the window's controls and the scoring run hold it when
// the report is written.
struct ReportData {
    QString surname;  // exactly as typed: any length, not trimmed, may be empty
    int age = kMinimumAge;
    QString sexText;  // the chosen item's text, or empty when none is chosen
    QDate date;
    Stens stens{};
    SecondOrder secondOrder{};
};

// The whole report: 30 lines in code page 1251, CR LF after every line, no byte-order
// mark. The window admits only characters the code page holds; any other character that
// still arrives here is written as one '?', so no line changes its length.
QByteArray reportBytes(const ReportData &data, const RegionalSettings &settings);

// Lines 3 to 6 of the report, surname, age, sex and date, before the line buffer cuts
// them; the printed profile shows the same lines.
std::array<QString, 4> respondentLines(const ReportData &data, const RegionalSettings &settings);

// The surname and ".txt", cut to the line buffer's 180 characters; where that is still
// more than the 255 bytes a file system takes for one name, the surname is cut further so
// that it fits together with ".txt". Path separators and
// the characters Windows file names cannot hold become '_', so that no surname can name a
// file outside the current directory; the report's surname line keeps them as typed.
QString reportFileName(const QString &surname);

// Whether a report name read back from elsewhere (the results table, which anyone may
// edit) names one plain file in the report's folder, as a name made from a surname does:
// no separator or character such a name never holds, not "." or "..", within the file
// system's 255 bytes.
bool isPlainReportFileName(const QString &name);

} // namespace zorven
