// Writes one known report to the path given, set up against a file-size limit as the
// program is, and prints what the operator would be shown:
// "written", or the error report's text. The exit status is the error code (0 written).
// With "new" after the path, it writes a new report as the window does beside another
// writer: never in place of a file that exists.
// The fault scripts run it under injected faults and as an unprivileged user.

#include "results/io_error.h"
#include "results/report.h"
#include "results/report_file.h"
#include "golden_report.h"

#include <QTextStream>

#include <algorithm>

int main(int argc, char *argv[])
{
    zorven::keepFileSizeLimitFromEndingTheProgram();
    QTextStream out(stdout);
    const bool asNew = argc == 3 && QByteArray(argv[2]) == "new";
    if (argc != 2 && !asNew) {
        out << "usage: report_probe PATH [new]\n";
        return 64;
    }
    const QByteArray bytes = zorven::reportBytes(golden::sheet(), zorven::RegionalSettings{});
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int code = asNew ? zorven::writeReport(path, bytes, zorven::ReportSync::EachReport,
                                                 zorven::ExistingReport::Keep)
                           : zorven::writeReport(path, bytes);
    out << (code == 0 ? QStringLiteral("written")
                      : zorven::withClosingFullStop(zorven::ioErrorText(code)))
        << '\n';
    return std::min(code, 255);
}
