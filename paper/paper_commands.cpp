#include "paper/paper_commands.h"

#include "paper/answer_sheet.h"
#include "paper/booklet.h"
#include "results/io_error.h"
#include "results/report_file.h"

#include <QDir>

#include <cstdio>

namespace zorven {

namespace {

int writePdfCommand(const QString &path, const PaperDocument &document, const QString &failure)
{
    const int code = writeReport(path, documentPdf(document));
    if (code == 0)
        return 0;
    const QString message = failure.arg(QDir::toNativeSeparators(path),
                                        withClosingFullStop(ioErrorText(code)));
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    return 2;
}

} // namespace

int writeBookletCommand(const QString &path)
{
    return writePdfCommand(path, bookletDocument(), QStringLiteral("Буклет с вопросами не сохранён в файл %1: %2"));
}

int writeAnswerSheetCommand(const QString &path)
{
    return writePdfCommand(path, answerSheetDocument(),
                           QStringLiteral("Бланк ответов не сохранён в файл %1: %2"));
}

int writeGroupAnswerSheetsCommand(const QString &listPath, const QString &path)
{
    const GroupList list = readGroupList(listPath);
    if (!list.faults.isEmpty()) {
        const QString message = QStringLiteral("Список группы %1 не принят:\n  %2")
                                    .arg(QDir::toNativeSeparators(listPath), list.faults.join(QStringLiteral("\n  ")));
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        return 2;
    }
    return writePdfCommand(path, groupAnswerSheetsDocument(list.rows),
                           QStringLiteral("Бланки группы не сохранены в файл %1: %2"));
}

} // namespace zorven
