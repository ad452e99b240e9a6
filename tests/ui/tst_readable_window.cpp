// The window as anyone can use it: under a dark desktop theme, with the report in a deep
// folder, from the keyboard, on a small screen and through a screen reader.

#include "app/answers_dialog.h"
#include "app/dialogs.h"
#include "app/keyboard_keying.h"
#include "app/results_line.h"
#include "profile/profile_chart.h"
#include "ui/form_driver.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTimer>

#include <cmath>
#include <optional>

using zorven::Sex;

namespace {

// A desktop theme of light text on dark grey, as GTK's dark Adwaita gives.
QPalette darkDesktopPalette()
{
    QPalette dark(QColor(53, 53, 53), QColor(53, 53, 53));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(238, 238, 236));
    dark.setColor(QPalette::Base, QColor(45, 45, 45));
    dark.setColor(QPalette::PlaceholderText, QColor(160, 160, 160));
    return dark;
}

// WCAG's relative luminance and contrast ratio.
double luminance(const QColor &colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF())
           + 0.0722 * linear(colour.blueF());
}

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What is behind a text: the colour most of its control's pixels have on screen; of a
// gradient, one of its middle rows.
QColor mostFrequentColour(const QImage &image, const QRect &rect)
{
    QHash<QRgb, int> counts;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(most))
            most = it.key();
    return QColor::fromRgb(most);
}

// The colour a control draws its text in, or nothing for a control that shows no text.
std::optional<QPalette::ColorRole> textRole(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->text().isEmpty() ? std::nullopt : std::optional(label->foregroundRole());
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text().isEmpty() ? std::nullopt : std::optional(QPalette::ButtonText);
    if (const auto *group = qobject_cast<const QGroupBox *>(widget))
        return group->title().isEmpty() ? std::nullopt : std::optional(QPalette::WindowText);
    if (const auto *edit = qobject_cast<const QLineEdit *>(widget))
        return edit->text().isEmpty() ? std::nullopt : std::optional(QPalette::Text);
    if (const auto *list = qobject_cast<const QComboBox *>(widget))
        return list->currentIndex() < 0 ? QPalette::PlaceholderText : QPalette::ButtonText;
    if (qobject_cast<const QMenuBar *>(widget))
        return QPalette::ButtonText;
    return std::nullopt;
}

// Every enabled text of `window` as grabbed; disabled controls are exempt, as in WCAG.
// Returns the lowest ratio found and lists every text below 4.5 : 1 in `failures`.
double lowestContrast(QWidget *window, QStringList &failures)
{
    const QImage shot = window->grab().toImage();
    double lowest = 21;
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *widget : widgets) {
        const std::optional<QPalette::ColorRole> role = textRole(widget);
        if (!role || !widget->isVisible() || !widget->isEnabled() || widget->window() != window)
            continue;
        // Inside the control's frame, where its text stands.
        const QRect onShot =
            QRect(widget->mapTo(window, QPoint(0, 0)), widget->size()).adjusted(3, 3, -3, -3);
        const QColor text = widget->palette().color(QPalette::Active, *role);
        const QColor behind = mostFrequentColour(shot, onShot.intersected(shot.rect()));
        const double ratio = contrastRatio(text, behind);
        lowest = std::min(lowest, ratio);
        if (ratio < 4.5)
            failures << QStringLiteral("%1 %2 on %3: %4")
                            .arg(widget->objectName(), text.name(), behind.name())
                            .arg(ratio, 0, 'f', 2);
    }
    return lowest;
}

// A scroll area's viewport is read as part of the scroll area.
bool isViewport(const QWidget *widget)
{
    const auto *area = qobject_cast<const QAbstractScrollArea *>(widget->parentWidget());
    return area && area->viewport() == widget;
}

// The cell of statement q, as a screen reader reaches it.
QAccessibleInterface *gridCell(QWidget *grid, int q)
{
    return QAccessible::queryAccessibleInterface(grid)->child(q - 1);
}

} // namespace

class TestReadableWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyTextStaysLegibleUnderADarkDesktop();
    void reportErrorSaysFirstWhatWasNotSaved();
    void resultsLineShowsTheFileAndItsFolderWhole();
    void enterBeforeNextIsReadyGoesToTheMissingField();
    void answersDialogFitsASmallScreen();
    void everyControlHasAnAccessibleName();

private:
    void typeName();
    void chooseSex() { form_driver::chooseSex(m_window, Sex::Female); }
    void startKeying();
    void keyStatements(int first, int last);
    void keyWholeSheet();
    AnswersDialog *openAnswers();
    void checkContrast(QWidget *window, const char *where);
    QStringList controlsWithoutName() const;

    std::optional<form_driver::FormFixture> m_form;
    TForm1 *m_window = nullptr;
    Dialogs m_platformDialogs;
};

void TestReadableWindow::init()
{
    m_form.emplace();
    QVERIFY(m_form->isReady());
    m_window = &m_form->window();
}

void TestReadableWindow::cleanup()
{
    m_form.reset();
    QApplication::setPalette(QPalette());
}

void TestReadableWindow::typeName()
{
    QTest::keyClicks(m_form->child<QLineEdit>("LEdit"), "Orlova O.I.");
}

void TestReadableWindow::startKeying()
{
    typeName();
    chooseSex();
    QTest::keyClick(m_window, Qt::Key_Return);
}

void TestReadableWindow::keyStatements(int first, int last)
{
    for (int q = first; q <= last; ++q)
        QTest::keyClick(m_window, Qt::Key(Qt::Key_1 + q % 3));
}

void TestReadableWindow::keyWholeSheet()
{
    startKeying();
    keyStatements(1, zorven::kStatementCount);
    QVERIFY(m_window->chart().isVisible());
}

AnswersDialog *TestReadableWindow::openAnswers()
{
    m_form->child<QAction>("SheetAnswers")->trigger();
    auto *dialog = m_window->findChild<AnswersDialog *>();
    return dialog && QTest::qWaitForWindowExposed(dialog) ? dialog : nullptr;
}

void TestReadableWindow::checkContrast(QWidget *window, const char *where)
{
    QVERIFY2(luminance(window->palette().color(QPalette::Window)) > 0.7,
             qPrintable(where + QStringLiteral(" keeps its light palette")));
    QStringList failures;
    const double lowest = lowestContrast(window, failures);
    qInfo("%s: lowest contrast %.2f : 1", where, lowest);
    QVERIFY2(failures.isEmpty(), qPrintable(where + QStringLiteral(": ") + failures.join("; ")));
}

// The desktop turns dark before the window exists, as it does when the program starts.
// The suite runs this again under a dark style the desktop forces (QT_STYLE_OVERRIDE):
// that style must exist here, or the run would prove nothing.
void TestReadableWindow::everyTextStaysLegibleUnderADarkDesktop()
{
    const QString forcedStyle = qEnvironmentVariable("QT_STYLE_OVERRIDE");
    if (!forcedStyle.isEmpty())
        QVERIFY2(QStyleFactory::keys().contains(forcedStyle, Qt::CaseInsensitive),
                 qPrintable(forcedStyle + QStringLiteral(" is not installed")));
    m_form.reset();
    QApplication::setPalette(darkDesktopPalette());
    m_form.emplace();
    QVERIFY(m_form->isReady());
    m_window = &m_form->window();

    typeName();
    checkContrast(m_window, "respondent data");
    startKeying();
    keyStatements(1, 1);
    checkContrast(m_window, "keying");
    keyStatements(2, zorven::kStatementCount);
    checkContrast(m_window, "results");

    m_form->aboutBox().showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(&m_form->aboutBox()));
    checkContrast(&m_form->aboutBox(), "about box");
    AnswersDialog *answers = openAnswers();
    QVERIFY(answers);
    checkContrast(answers, "answers dialog");
    answers->reject();

    QTimer::singleShot(0, this, [this] {
        QWidget *box = QApplication::activeModalWidget();
        QVERIFY(qobject_cast<QMessageBox *>(box));
        checkContrast(box, "message box");
        box->close();
    });
    m_platformDialogs.showErrorReport(m_window, QStringLiteral("File not found."));
}

// The error's own text stays, under a sentence in the operator's language.
void TestReadableWindow::reportErrorSaysFirstWhatWasNotSaved()
{
    QString text;
    QString reason;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        text = box->text();
        reason = box->informativeText();
        box->close();
    });
    m_platformDialogs.showFileErrorReport(m_window, QStringLiteral("File access denied."),
                                          QStringLiteral("/home/psy/Петрова А.В..txt"));
    QCOMPARE(text, QStringLiteral("Отчёт не сохранён в файл «/home/psy/Петрова А.В..txt»."));
    QCOMPARE(reason, QStringLiteral("File access denied.\n\nРезультаты остаются на экране, отчёт можно "
                                    "сохранить в другое место командой «Тест → Сохранить отчёт…»."));
}

// Only what is left under the value labels is the line's: the window keeps its size.
void TestReadableWindow::resultsLineShowsTheFileAndItsFolderWhole()
{
    const QString folder = QDir::current().absoluteFilePath(
        QStringLiteral("Документы/Бланки психолога за 2026 год/Отдел кадров"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QDir::setCurrent(folder));
    keyWholeSheet();

    auto *line = m_form->child<ResultsLine>("Label2");
    QVERIFY(line->isVisible());
    QCOMPARE(line->text(), QStringLiteral("Результаты тестирования находятся в файле - Orlova O.I..txt")
                               + QStringLiteral("\nв папке ") + QDir::toNativeSeparators(folder));
    QVERIFY(line->showsWholeText());
    QVERIFY(m_window->centralWidget()->rect().contains(line->geometry()));
    QVERIFY(line->y() > m_form->child("RzLabel1")->geometry().bottom());
}

void TestReadableWindow::enterBeforeNextIsReadyGoesToTheMissingField()
{
    auto *keying = m_window->findChild<KeyboardKeying *>();
    QSignalSpy beeps(keying, &KeyboardKeying::enterRefused);
    auto *name = m_form->child<QLineEdit>("LEdit");
    auto *sexList = m_form->child("ComboBox1");

    sexList->setFocus();
    QTest::keyClick(sexList, Qt::Key_Return);
    QCOMPARE(beeps.size(), 1);
    QVERIFY(name->hasFocus());

    typeName();
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(beeps.size(), 2);
    QVERIFY(sexList->hasFocus());
    QTest::keyClicks(QApplication::focusWidget(), "123");
    QCOMPARE(name->text(), QStringLiteral("Orlova O.I."));
    QVERIFY(m_form->child("personbox")->isVisible());
}

// The test platform's screen, 800 by 600, is smaller still than a 1024 by 600 netbook's.
void TestReadableWindow::answersDialogFitsASmallScreen()
{
    keyWholeSheet();
    AnswersDialog *dialog = openAnswers();
    QVERIFY(dialog);
    const QRect screen = dialog->screen()->availableGeometry();
    QVERIFY2(dialog->height() + 48 <= screen.height(), "room is left for a title bar");
    QVERIFY(dialog->width() <= screen.width());
    for (const char *name : {"Rescore", "CancelAnswers"}) {
        const QWidget *button = form_driver::child(dialog, name);
        QVERIFY2(dialog->rect().contains(QRect(button->mapTo(dialog, QPoint(0, 0)), button->size())),
                 name);
    }

    auto *grid = form_driver::child(dialog, "AnswerGrid");
    QTest::keyClick(grid, Qt::Key_End);
    const QWidget *viewport = form_driver::child<QScrollArea>(dialog, "AnswersScroller")->viewport();
    const QRect lastCell = gridCell(grid, zorven::kStatementCount)->rect();
    QVERIFY(QRect(viewport->mapToGlobal(QPoint(0, 0)), viewport->size()).contains(lastCell));
}

QStringList TestReadableWindow::controlsWithoutName() const
{
    QStringList unnamed;
    for (QWidget *widget : m_window->findChildren<QWidget *>()) {
        if (!widget->isVisible() || widget->focusPolicy() == Qt::NoFocus || isViewport(widget))
            continue;
        if (QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).isEmpty())
            unnamed << widget->objectName();
    }
    return unnamed;
}

void TestReadableWindow::everyControlHasAnAccessibleName()
{
    const auto checkEveryControlNamed = [this] {
        const QStringList unnamed = controlsWithoutName();
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(' ')));
    };
    checkEveryControlNamed();
    startKeying();
    keyStatements(1, 1);
    checkEveryControlNamed();
    keyStatements(2, zorven::kStatementCount);
    checkEveryControlNamed();

    QStringList stens;
    for (int f = 0; f < zorven::kFactorCount; ++f)
        stens << QLatin1String(zorven::kFactorNames[f].data(), qsizetype(zorven::kFactorNames[f].size()))
                     + QStringLiteral(": ")
                     + QString::number(m_window->sheet().stens[f]);
    auto *chart = const_cast<zorven::ProfileChart *>(&m_window->chart());
    QCOMPARE(QAccessible::queryAccessibleInterface(chart)->text(QAccessible::Description),
             QStringLiteral("Стены по факторам. ") + stens.join(QStringLiteral("; ")));

    AnswersDialog *dialog = openAnswers();
    QVERIFY(dialog);
    QWidget *grid = form_driver::child(dialog, "AnswerGrid");
    QCOMPARE(QAccessible::queryAccessibleInterface(grid)->childCount(), zorven::kStatementCount);
    for (const int q : {1, 13, zorven::kStatementCount - 1}) {
        const char letter = "abc"[m_window->sheet().options.at(q) - 1];
        QCOMPARE(gridCell(grid, q)->text(QAccessible::Name),
                 QStringLiteral("Утверждение %1: ответ %2").arg(q).arg(QLatin1Char(letter)));
    }
    // Statement 2 was keyed c.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClick(grid, Qt::Key_A);
    QCOMPARE(gridCell(grid, 2)->text(QAccessible::Name),
             QStringLiteral("Утверждение 2: ответ a, изменён"));
    QVERIFY(gridCell(grid, 2)->state().focused);
}

int main(int argc, char *argv[])
{
    return form_driver::execInRussianLocale<TestReadableWindow>(argc, argv);
}

#include "tst_readable_window.moc"
