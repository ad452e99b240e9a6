// A respondent at the screen, for the script that kills the program half-way: starts the
// main window in the working folder, takes up an unfinished session if there is one (or
// types the respondent data and starts a new one), and answers with the letters given,
// one statement at a time, saying «answered N» once each answer is in. At statement
// PAUSE it waits on its standard input, where the script kills it.
//
//   screen_probe LETTERS [PAUSE]

#include "administration/operator_questions.h"
#include "administration/respondent_screen.h"
#include "app/dialogs.h"
#include "ui/form_driver.h"

#include <QAction>

#include <cstdio>
#include <iostream>

namespace {

class GoOn : public Dialogs
{
public:
    bool askToResumeSession(QWidget *, const QString &) override { return true; }
    void showErrorReport(QWidget *, const QString &message) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
};

class LeaveAtTheEnd : public OperatorQuestions
{
public:
    bool askToLeaveFinished(QWidget *) override { return true; }
};

RespondentScreen *screenOf(TForm1 &window)
{
    return window.findChild<RespondentScreen *>();
}

RespondentScreen *startNewSession(TForm1 &window)
{
    form_driver::typeText(form_driver::child<QLineEdit>(&window, "LEdit"), QStringLiteral("Петрова А.В."));
    form_driver::chooseSex(&window, zorven::Sex::Female);
    form_driver::typeAge(&window, QStringLiteral("20"));
    form_driver::child<QAction>(&window, "ScreenTesting")->trigger();
    return screenOf(window);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("LC_ALL", "ru_RU.UTF-8");
    QApplication application(argc, argv);
    const QByteArray letters = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    const int pause = argc > 2 ? QByteArray(argv[2]).toInt() : 0;
    if (letters.size() != zorven::kStatementCount)
        return 2;
    form_driver::clickWithoutDoubleClickGuard();

    GoOn dialogs;
    LeaveAtTheEnd questions;
    TForm1 window;
    window.setDialogs(&dialogs);
    window.show();
    QCoreApplication::processEvents(); // the offer of an unfinished session
    RespondentScreen *screen = screenOf(window);
    if (!screen)
        screen = startNewSession(window);
    if (!screen)
        return 3;
    screen->setQuestions(&questions);
    QApplication::setActiveWindow(screen);
    QTest::mouseClick(form_driver::child<QPushButton>(screen, "StartButton"), Qt::LeftButton);
    std::cout << "resumed at " << screen->session().statementOnShow() << std::endl;

    while (!screen->session().isFinished()) {
        const int q = screen->session().statementOnShow();
        QTest::keyClick(screen, Qt::Key(Qt::Key_0 + (letters[q - 1] - 'a' + 1)));
        std::cout << "answered " << q << std::endl;
        if (q == pause) {
            std::string line;
            std::getline(std::cin, line);
        }
    }
    screen->close();
    return 0;
}
