#include "results/report_naming.h"

#include <QFile>
#include <QFileInfo>

namespace zorven {

namespace {

// The longest file name the file system takes, in bytes.
constexpr qsizetype kFileNameByteLimit = 255;

// Lines 3 to 5 of a report: surname, age, sex. The date (line 6) is left out: the same
// respondent keyed again on another day is still the same respondent.
constexpr int kFirstRespondentLine = 2;
constexpr int kRespondentLineCount = 3;

// Cuts after the last whole character that keeps the UTF-8 form within `bytes`.
QString fittedToBytes(const QString &text, qsizetype bytes)
{
    QString fitted = text;
    while (fitted.toUtf8().size() > bytes)
        fitted.chop(fitted.size() >= 2 && fitted.back().isLowSurrogate() ? 2 : 1);
    return fitted;
}

QList<QByteArray> respondentLinesOf(const QByteArray &report)
{
    return report.split('\n').mid(kFirstRespondentLine, kRespondentLineCount);
}

// Only a plain file that can be read is looked into.
bool readPlainFile(const QString &path, QByteArray &bytes)
{
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

} // namespace

QString numberedReportName(const QString &name, int number)
{
    static const QString kExtension = QStringLiteral(".txt");
    const bool hasExtension = name.endsWith(kExtension);
    const QString stem = hasExtension ? name.chopped(kExtension.size()) : name;
    const QString suffix = QStringLiteral(" (%1)").arg(number) + (hasExtension ? kExtension : QString());
    return fittedToBytes(stem, kFileNameByteLimit - suffix.toUtf8().size()) + suffix;
}

bool sameRespondent(const QByteArray &report, const QByteArray &otherReport)
{
    const QList<QByteArray> lines = respondentLinesOf(report);
    return lines.size() == kRespondentLineCount && lines == respondentLinesOf(otherReport);
}

QString firstFreeReportName(const QString &name, const std::function<bool(const QString &)> &isFree)
{
    QString candidate = name;
    for (int number = 2; !isFree(candidate); ++number)
        candidate = numberedReportName(name, number);
    return candidate;
}

QString reportNameInFolder(const QDir &folder, const QString &name, const QByteArray &report)
{
    return firstFreeReportName(name, [&](const QString &candidate) {
        QByteArray earlier;
        return !readPlainFile(folder.filePath(candidate), earlier) || sameRespondent(report, earlier);
    });
}

} // namespace zorven
