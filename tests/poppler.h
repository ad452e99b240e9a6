#pragma once
// Reading a PDF back as another program would read it: with Debian's poppler-utils.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace poppler {

// Runs one of poppler's tools and gives what it printed.
inline QString output(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        qFatal("%s did not run: the tests need Debian's poppler-utils", qPrintable(tool));
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Text without any blank or line break: where a line wraps is the layout's business, the
// words and their order are what the reader gets.
inline QString withoutBlanks(const QString &text)
{
    QString joined;
    for (const QChar c : text)
        if (!c.isSpace())
            joined += c;
    return joined;
}

// The text of each page in drawing order, without blanks.
inline QStringList pagesWithoutBlanks(const QString &pdf)
{
    QStringList pages = output(QStringLiteral("pdftotext"), {"-raw", pdf, "-"}).split(QChar(u'\f'));
    for (QString &page : pages)
        page = withoutBlanks(page);
    return pages;
}

} // namespace poppler
