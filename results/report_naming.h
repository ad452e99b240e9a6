#pragma once
// Which file a report goes to when a report of that name is already in the folder. An
// earlier report of the same respondent (surname, age and sex lines alike) is a sheet keyed
// again and is replaced; another respondent's report is kept, and the new one is numbered
// "Фамилия (2).txt", "(3)", … The window and the batch both name reports by this rule.

#include <QByteArray>
#include <QDir>
#include <QString>

#include <functional>

namespace zorven {

// "Name.txt" as "Name (2).txt"; a name the 180-character cut left without ".txt" gets the
// number at its end. The name part gives way where the number would make the name too
// long for the file system.
QString numberedReportName(const QString &name, int number);

// Whether two reports describe the same respondent: their surname, age and sex lines are
// the same bytes.
bool sameRespondent(const QByteArray &report, const QByteArray &otherReport);

// The first of `name`, its "(2)", "(3)", … that `isFree` accepts.
QString firstFreeReportName(const QString &name, const std::function<bool(const QString &)> &isFree);

// The name in `folder` under which `report` is written: `name` itself or the first
// numbered one that is either unused or holds a report of the same respondent. An entry
// that is no plain readable file (a link, a folder, a file that cannot be read) counts as
// free, so that the writer refuses it and says so, as it did before names were numbered.
QString reportNameInFolder(const QDir &folder, const QString &name, const QByteArray &report);

} // namespace zorven
