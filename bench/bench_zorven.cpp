// Measures, in one run on one machine: start-up to the main window's first paint against
// an empty QMainWindow started the same way, the handling of one option press over a
// whole sheet, and the final press (scoring, report, display).
//
//   zorven_bench                  prints the table (starts itself for each start-up)
//   zorven_bench --startup form   one start-up of the program's window; prints nanoseconds
//   zorven_bench --startup empty  the same for an empty QMainWindow
//   zorven_bench --startup text   the same for a QMainWindow showing one line of text, which
//                                 loads the fonts as every window with text must

#include "app/Unit1.h"
#include "app/zorven.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProcess>
#include <QPushButton>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kStartupRuns = 15;

// Stops the clock at the first paint of the window it watches and ends the event loop.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(const QElapsedTimer &clock) : m_clock(clock) {}
    qint64 nanoseconds = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && nanoseconds < 0) {
            nanoseconds = m_clock.nsecsElapsed();
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer &m_clock;
};

enum class Window { Form, Empty, Text };

int startOnce(int argc, char *argv[], Window which)
{
    QElapsedTimer clock;
    clock.start();
    QApplication application(argc, argv);
    FirstPaint firstPaint(clock);
    std::unique_ptr<QMainWindow> window;
    if (which == Window::Form) {
        auto *tform = new TForm1;
        tform->setAboutBox(new TAboutBox(tform));
        window.reset(tform);
    } else {
        window = std::make_unique<QMainWindow>();
        if (which == Window::Text)
            window->setCentralWidget(new QLabel(QStringLiteral("Тест Зорвена")));
    }
    window->installEventFilter(&firstPaint);
    window->show();
    QApplication::exec();
    std::printf("%lld\n", static_cast<long long>(firstPaint.nanoseconds));
    return firstPaint.nanoseconds < 0 ? 1 : 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double startupMilliseconds(const QString &program, const QString &which)
{
    QProcess process;
    process.start(program, {QStringLiteral("--startup"), which});
    process.waitForFinished(-1);
    return process.readAllStandardOutput().trimmed().toLongLong() / 1e6;
}

struct Presses {
    std::vector<double> optionMs;
    double finalMs = 0;
};

template<typename T>
T *child(QWidget &window, const char *name)
{
    return window.findChild<T *>(QString::fromLatin1(name));
}

// Keys a whole sheet in a scratch directory, timing each press from click to return.
Presses keyWholeSheet()
{
    QTemporaryDir directory;
    QDir::setCurrent(directory.path());
    // The window drops clicks on controls that appeared less than a double-click interval
    // ago, and this loop clicks at once; with no interval the check still runs, and every
    // press counts.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
    TForm1 form;
    form.show();
    QTest::keyClicks(child<QLineEdit>(form, "LEdit"), QStringLiteral("Bench"));
    child<QComboBox>(form, "ComboBox1")->setCurrentIndex(0);
    QTest::mouseClick(child<QPushButton>(form, "Button4"), Qt::LeftButton);

    Presses presses;
    QElapsedTimer clock;
    for (int q = 1; q <= 187; ++q) {
        auto *button = child<QPushButton>(form, q % 3 == 0 ? "Button1" : q % 3 == 1 ? "Button2" : "Button3");
        QCoreApplication::processEvents(); // the previous press's repaint is not this press's
        clock.start();
        QTest::mouseClick(button, Qt::LeftButton);
        const double ms = clock.nsecsElapsed() / 1e6;
        if (q < 187)
            presses.optionMs.push_back(ms);
        else
            presses.finalMs = ms;
    }
    if (!form.sheet().options.isComplete() || form.sheet().stens[0] == 0)
        qFatal("the sheet was not keyed and scored: the presses measured nothing");
    QDir::setCurrent(QDir::rootPath());
    return presses;
}

int printTable(int argc, char *argv[])
{
    const QString program = QString::fromLocal8Bit(argv[0]);
    std::vector<double> form, empty, text;
    for (int run = 0; run < kStartupRuns; ++run) { // interleaved, so drift hits all alike
        empty.push_back(startupMilliseconds(program, QStringLiteral("empty")));
        text.push_back(startupMilliseconds(program, QStringLiteral("text")));
        form.push_back(startupMilliseconds(program, QStringLiteral("form")));
    }

    QApplication application(argc, argv);
    const Presses presses = keyWholeSheet();
    const double formMs = median(form), emptyMs = median(empty), textMs = median(text);

    std::printf("%-44s %14s %12s\n", "measure", "value", "target");
    std::printf("%-44s %11.1f ms %12s\n", "start-up to first paint, program (median)", formMs, "");
    std::printf("%-44s %11.1f ms %12s\n", "start-up to first paint, empty window", emptyMs, "");
    std::printf("%-44s %11.1f ms %12s\n", "start-up to first paint, one line of text", textMs, "");
    std::printf("%-44s %13.2fx %12s\n", "ratio program / empty", formMs / emptyMs, "<= 1.2x");
    std::printf("%-44s %13.2fx %12s\n", "ratio program / one line of text", formMs / textMs, "");
    std::printf("%-44s %11.3f ms %12s\n", "option press, median of 186", median(presses.optionMs), "< 0.5 ms");
    std::printf("%-44s %11.3f ms %12s\n", "option press, worst of 186",
                *std::max_element(presses.optionMs.begin(), presses.optionMs.end()), "");
    std::printf("%-44s %11.3f ms %12s\n", "final press: scoring, report, display", presses.finalMs, "< 20 ms");
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--startup") == 0) {
        const QByteArray which(argv[2]);
        return startOnce(argc, argv,
                         which == "form" ? Window::Form
                                         : which == "text" ? Window::Text : Window::Empty);
    }
    return printTable(argc, argv);
}
