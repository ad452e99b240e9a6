// The main window driven as an operator drives it: the three stages, the respondent data,
// keying by mouse and by keyboard, and leaving the program.

#include "questionnaire/answer_key.h"
#include "scoring/scoring_run.h"
#include "ui/form_driver.h"
#include "widgets/program_style.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <optional>

using zorven::Sex;

namespace {

const QString kRespondentCaption = QStringLiteral("Тест Зорвенна (Форма А) - Заполнение анекты");
const QString kKeyingCaption = QStringLiteral("Тест Зорвенна (Форма А)");

// A menu's caption as it is shown: the '&' before its mnemonic is not seen.
QString shown(QString caption)
{
    return caption.remove(u'&');
}

// The option pressed for statement q in the sheets these tests key.
int choiceFor(int q)
{
    return (q * 7) % 3 + 1;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { look::useProgramStyle(); }
    void init();
    void cleanup();

    void startsInRespondentDataStage();
    void placesAreMeasuredBelowTheMenuBar();
    void windowIsCentredAndHoldsItsContent();
    void windowKeepsItsSize();
    void nextNeedsTypedNameAndSex();
    void nextStaysEnabledWhenNameIsDeleted();
    void sexFieldTakesOnlyItsItems();
    void sexChoiceSetsAgeMaximumWithoutChangingAge();
    void nextBringsAgeIntoRangeWithoutLeavingTheField_data();
    void nextBringsAgeIntoRangeWithoutLeavingTheField();
    void nextStartsKeyingStage();
    void optionClickRecordsAndShowsUndo();
    void undoReturnsOneStepAndDisablesItself();
    void fullSheetByMouseEndsKeyingAndScores();
    void scoringReadsTooLargeAgeAsTheMaximum();
    void enterPressesNextOnceEnabled_data();
    void enterPressesNextOnceEnabled();
    void doubleClickOnNextAnswersNothing();
    void doubleClickOnTheLastOptionClosesNothing();
    void doubleClickOnTheLastOptionLeavesTheErrorBoxOpen();
    void keysPressOptionButtons_data();
    void keysPressOptionButtons();
    void keysWorkWhereverTheFocusIs();
    void backspacePressesUndoOnlyWhenEnabled();
    void autoRepeatedKeysAreIgnored();
    void keysTypeNormallyBeforeKeying();
    void fullSheetByKeyboard();
    void exitDuringKeyingWritesNoFile();
    void resultsLabelClickCloses();
    void saveReportIsDisabledAboveExit();
    void menusAndCommandsFromTheKeyboard();

private:
    QPushButton *option(int choice) const { return form_driver::optionButton(m_window, choice); }
    int statementOnShow() const { return form_driver::statementOnShow(m_window); }
    void typeName(const QString &latinName);
    void chooseSex(Sex sex) { form_driver::chooseSex(m_window, sex); }
    void setAgeText(const QString &text) { form_driver::typeAge(m_window, text); }
    void enterRespondent(Sex sex, const QString &age);
    void keyAnswers(int count);

    // Nothing the window does may leave a file behind; each test looks in an empty folder.
    std::optional<form_driver::FormFixture> m_form;
    TForm1 *m_window = nullptr;
};

void TestMainWindow::init()
{
    m_form.emplace();
    QVERIFY(m_form->isReady());
    m_window = &m_form->window();
}

void TestMainWindow::cleanup()
{
    m_form.reset();
}

void TestMainWindow::typeName(const QString &latinName)
{
    QTest::keyClicks(m_form->child<QLineEdit>("LEdit"), latinName);
}

void TestMainWindow::enterRespondent(Sex sex, const QString &age)
{
    typeName("Ivanov I.I.");
    chooseSex(sex);
    setAgeText(age);
    QTest::mouseClick(m_form->child<QPushButton>("Button4"), Qt::LeftButton);
    QVERIFY(m_form->child("Box1")->isVisible());
}

void TestMainWindow::keyAnswers(int count)
{
    for (int i = 0; i < count; ++i)
        QTest::mouseClick(option(choiceFor(statementOnShow())), Qt::LeftButton);
}

void TestMainWindow::startsInRespondentDataStage()
{
    QCOMPARE(m_window->windowTitle(), kRespondentCaption);
    QVERIFY(m_form->child("personbox")->isVisible());
    QVERIFY(!m_form->child("Box1")->isVisible());
    QVERIFY(!m_form->child("button5")->isVisible());
    QVERIFY(!m_form->child<QPushButton>("Button4")->isEnabled());
    QCOMPARE(m_form->child<QComboBox>("ComboBox1")->currentIndex(), -1);
    QCOMPARE(m_form->child<QComboBox>("ComboBox1")->placeholderText(), QStringLiteral("Пол"));
    QCOMPARE(m_form->child<AgeField>("SpinEdit1")->text(), QStringLiteral("16"));
    QCOMPARE(m_form->child<AgeField>("SpinEdit1")->maximum(), 60);
    for (const char *name : {"RzLabel1", "RzLabel2", "RzLabel3", "RzLabel4", "Label2"})
        QVERIFY2(!m_form->child(name)->isVisible(), name);
    QVERIFY(m_form->child("LEdit")->hasFocus());
    // The first statement is already in the hidden answer group.
    QCOMPARE(statementOnShow(), 1);
    QVERIFY(!option(1)->text().isEmpty());
}

void TestMainWindow::placesAreMeasuredBelowTheMenuBar()
{
    const QWidget *content = m_window->centralWidget();
    QCOMPARE(content->y(), m_window->menuBar()->geometry().bottom() + 1);
    QCOMPARE(m_form->child("personbox")->parentWidget(), content);
    QCOMPARE(m_form->child("personbox")->geometry(), QRect(139, 61, 145, 161));
    QCOMPARE(m_form->child("Box1")->parentWidget(), content);
    QCOMPARE(m_form->child("button5")->parentWidget(), content);
    QCOMPARE(m_form->child("RzLabel4")->geometry(), QRect(312, 264, 66, 16));
}

void TestMainWindow::windowIsCentredAndHoldsItsContent()
{
    const QWidget *content = m_window->centralWidget();
    QVERIFY(content->width() >= 410);  // the results chart
    QVERIFY(content->height() >= 290); // the undo button's lower edge
    const QSize outer = m_window->frameGeometry().size();
    QVERIFY2(outer == TForm1::kOuterSize
                 || (outer.width() == TForm1::kOuterSize.width()
                     && content->height() == TForm1::kMinimumContentSize.height()),
             "the window is 420 x 345 unless the content needs more height");
    const QPoint screenCentre = m_window->screen()->availableGeometry().center();
    QVERIFY((m_window->frameGeometry().center() - screenCentre).manhattanLength() <= 2);
}

// Neither the border nor a maximise box can change the window's size.
void TestMainWindow::windowKeepsItsSize()
{
    enterRespondent(Sex::Male, "30");
    keyAnswers(1);
    const QStringList names = {"Box1",    "Box2",    "Label1", "Button1",
                               "Button2", "Button3", "button5"};
    QList<QRect> before;
    for (const QString &name : names)
        before << m_form->child(name.toLatin1().constData())->geometry();
    const QSize size = m_window->size();
    QCOMPARE(m_window->minimumSize(), size);
    QCOMPARE(m_window->maximumSize(), size);
    QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
    m_window->resize(size + QSize(150, 120));
    QCOMPARE(m_window->size(), size);
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(m_form->child(names[i].toLatin1().constData())->geometry(), before[i]);
}

void TestMainWindow::nextNeedsTypedNameAndSex()
{
    auto *next = m_form->child<QPushButton>("Button4");
    chooseSex(Sex::Male);
    QVERIFY(!next->isEnabled());
    typeName("I");
    QVERIFY(next->isEnabled());
}

void TestMainWindow::nextStaysEnabledWhenNameIsDeleted()
{
    typeName("Iv");
    QVERIFY(!m_form->child<QPushButton>("Button4")->isEnabled());
    QTest::keyClick(m_form->child("LEdit"), Qt::Key_Backspace);
    QTest::keyClick(m_form->child("LEdit"), Qt::Key_Backspace);
    chooseSex(Sex::Female);
    QVERIFY(m_form->child<QPushButton>("Button4")->isEnabled());
    QTest::mouseClick(m_form->child<QPushButton>("Button4"), Qt::LeftButton);
    QVERIFY(m_form->child("Box1")->isVisible());
    QCOMPARE(m_form->child<QLineEdit>("LEdit")->text(), QString());
}

// Typing into the sex field must never leave no item chosen once one was.
void TestMainWindow::sexFieldTakesOnlyItsItems()
{
    auto *sex = m_form->child<QComboBox>("ComboBox1");
    QVERIFY(!sex->isEditable());
    QCOMPARE(sex->count(), 2);
    QCOMPARE(sex->itemText(0), QStringLiteral("Мужской"));
    QCOMPARE(sex->itemText(1), QStringLiteral("Женский"));
    chooseSex(Sex::Female);
    QTest::keyClicks(sex, "xq");
    QTest::keyClick(sex, Qt::Key_Backspace);
    QTest::keyClick(sex, Qt::Key_Delete);
    QTest::keyClick(sex, Qt::Key_Down);
    QCOMPARE(sex->currentIndex(), 1);
    QTest::keyClick(sex, Qt::Key_Up);
    QTest::keyClick(sex, Qt::Key_Up);
    QCOMPARE(sex->currentIndex(), 0);
}

void TestMainWindow::sexChoiceSetsAgeMaximumWithoutChangingAge()
{
    auto *age = m_form->child<AgeField>("SpinEdit1");
    chooseSex(Sex::Male);
    setAgeText("58");
    chooseSex(Sex::Female);
    QCOMPARE(age->maximum(), 55);
    QCOMPARE(age->text(), QStringLiteral("58"));
    chooseSex(Sex::Male);
    QCOMPARE(age->maximum(), 60);
}

// "Далее" pressed by keyboard while the age field keeps the focus: the field's own
// clamping on leaving never runs, yet the age must come into range.
void TestMainWindow::nextBringsAgeIntoRangeWithoutLeavingTheField_data()
{
    QTest::addColumn<Sex>("sex");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("woman 58") << Sex::Female << "58" << "55";
    QTest::newRow("man 58") << Sex::Male << "58" << "58";
    QTest::newRow("man 75") << Sex::Male << "75" << "60";
    QTest::newRow("woman 9") << Sex::Female << "9" << "16";
    QTest::newRow("too large for a number") << Sex::Female << "99999999999" << "55";
}

void TestMainWindow::nextBringsAgeIntoRangeWithoutLeavingTheField()
{
    QFETCH(Sex, sex);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    typeName("Petrova");
    chooseSex(sex);
    setAgeText(typed);
    QTest::keyClick(m_form->child("Button4"), Qt::Key_Space);
    QVERIFY(m_form->child("Box1")->isVisible());
    QCOMPARE(m_form->child<AgeField>("SpinEdit1")->text(), shown);
}

// A woman's age entered under the men's maximum, the field left, then "Женский" chosen.
void TestMainWindow::nextStartsKeyingStage()
{
    typeName("Sidorova");
    chooseSex(Sex::Male);
    setAgeText("58");
    chooseSex(Sex::Female);
    QCOMPARE(m_form->child<AgeField>("SpinEdit1")->text(), QStringLiteral("58"));
    QTest::mouseClick(m_form->child<QPushButton>("Button4"), Qt::LeftButton);

    QCOMPARE(m_window->windowTitle(), kKeyingCaption);
    QCOMPARE(m_form->child<AgeField>("SpinEdit1")->text(), QStringLiteral("55"));
    QVERIFY(!m_form->child("personbox")->isVisible());
    QVERIFY(m_form->child("Box1")->isVisible());
    QCOMPARE(m_form->child("Box1")->pos(), QPoint(6, 3));
    QCOMPARE(m_form->child("button5")->pos(), QPoint(195, 270));
    QVERIFY(!m_form->child("button5")->isVisible());
    QCOMPARE(m_form->child<QGroupBox>("Box2")->title(), QStringLiteral("Утверждение № 1"));
}

void TestMainWindow::optionClickRecordsAndShowsUndo()
{
    enterRespondent(Sex::Male, "30");
    QTest::mouseClick(option(3), Qt::LeftButton);
    QCOMPARE(m_window->sheet().answers.at(1), zorven::answerCode(1, 3));
    QCOMPARE(statementOnShow(), 2);
    QVERIFY(m_form->child("button5")->isVisible());
    QVERIFY(m_form->child("button5")->isEnabled());
    QCOMPARE(m_form->child("button5")->toolTip(), QStringLiteral("Вернуть"));
}

void TestMainWindow::undoReturnsOneStepAndDisablesItself()
{
    enterRespondent(Sex::Male, "30");
    QTest::mouseClick(option(1), Qt::LeftButton);
    QTest::mouseClick(m_form->child("button5"), Qt::LeftButton);
    QCOMPARE(statementOnShow(), 1);
    QCOMPARE(int(m_window->sheet().answers.at(1)), 0);
    QVERIFY(m_form->child("button5")->isVisible());
    QVERIFY(!m_form->child("button5")->isEnabled());

    QTest::mouseClick(option(2), Qt::LeftButton);
    QCOMPARE(m_window->sheet().answers.at(1), zorven::answerCode(1, 2));
    QVERIFY(m_form->child("button5")->isEnabled());
}

void TestMainWindow::fullSheetByMouseEndsKeyingAndScores()
{
    enterRespondent(Sex::Male, "30");
    keyAnswers(186);
    QCOMPARE(statementOnShow(), 187);
    QTest::mouseClick(option(2), Qt::LeftButton);

    QVERIFY(!m_form->child("Box1")->isVisible());
    QVERIFY(!m_form->child("button5")->isVisible());
    QVERIFY(!m_form->child("personbox")->isVisible());
    QCOMPARE(m_window->windowTitle(), kKeyingCaption);
    QCOMPARE(statementOnShow(), 187);
    const zorven::Sheet &sheet = m_window->sheet();
    for (int q = 1; q < 187; ++q)
        QCOMPARE(sheet.answers.at(q), zorven::answerCode(q, choiceFor(q)));
    QCOMPARE(int(sheet.answers.at(187)), 0);

    zorven::Sheet expected;
    expected.answers = sheet.answers;
    zorven::scoringRun(expected, {Sex::Male, 30}, [] {});
    QCOMPARE(sheet.raw, expected.raw);
    QCOMPARE(sheet.stens, expected.stens);
    QCOMPARE(sheet.secondOrder, expected.secondOrder);
    QCOMPARE(QDir::current().entryList(QDir::NoDotAndDotDot | QDir::AllEntries, QDir::Name),
             QStringList({"Ivanov I.I..txt", "zorven-results.csv"}));
}

void TestMainWindow::scoringReadsTooLargeAgeAsTheMaximum()
{
    enterRespondent(Sex::Female, "99999999999");
    keyAnswers(187);
    QVERIFY(!m_form->child("Box1")->isVisible());

    const auto stensFor = [this](int age) {
        zorven::Sheet sheet;
        sheet.answers = m_window->sheet().answers;
        zorven::scoringRun(sheet, {Sex::Female, age}, [] {});
        return sheet.stens;
    };
    QVERIFY2(stensFor(16) != stensFor(55), "the sheet must tell the age bands apart");
    QCOMPARE(m_window->sheet().stens, stensFor(55));
}

void TestMainWindow::enterPressesNextOnceEnabled_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");
    QTest::newRow("Enter in the name") << "LEdit" << int(Qt::Key_Return);
    QTest::newRow("keypad Enter in the age") << "SpinEdit1" << int(Qt::Key_Enter);
    QTest::newRow("Enter on the sex list") << "ComboBox1" << int(Qt::Key_Return);
}

void TestMainWindow::enterPressesNextOnceEnabled()
{
    QFETCH(QString, field);
    QFETCH(int, key);
    QWidget *widget = m_form->child(field.toLatin1().constData());
    typeName("Orlov");
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key(key));
    QVERIFY(m_form->child("personbox")->isVisible());

    chooseSex(Sex::Male);
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key(key));
    QVERIFY(m_form->child("Box1")->isVisible());
    QCOMPARE(statementOnShow(), 1);
}

// The second click of a double click on "Далее" lands on the option button now in its
// place; it must not answer statement 1.
void TestMainWindow::doubleClickOnNextAnswersNothing()
{
    typeName("Orlov");
    chooseSex(Sex::Male);
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(400);
    auto *next = m_form->child<QPushButton>("Button4");
    const QPoint at = next->mapTo(m_window, next->rect().center());
    QTest::mouseClick(next, Qt::LeftButton);
    QWidget *underPointer = m_window->childAt(at);
    QCOMPARE(underPointer, option(2));

    QTest::mouseDClick(underPointer, Qt::LeftButton);
    QTest::mouseClick(underPointer, Qt::LeftButton);
    QCOMPARE(statementOnShow(), 1);
    QCOMPARE(m_window->sheet().options.at(1), zorven::kNoOption);

    QTest::qWait(QApplication::doubleClickInterval());
    QTest::mouseClick(underPointer, Qt::LeftButton);
    QCOMPARE(statementOnShow(), 2);
    QCOMPARE(m_window->sheet().options.at(1), 2);
}

// A quick second click after the last option lands on whatever the results put there.
void TestMainWindow::doubleClickOnTheLastOptionClosesNothing()
{
    enterRespondent(Sex::Male, "30");
    keyAnswers(186);
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(400);
    auto *label = m_form->child<QLabel>("Label2");
    QTest::mouseClick(option(1), Qt::LeftButton);
    QVERIFY(label->isVisible());
    QTest::mouseClick(label, Qt::LeftButton);
    QVERIFY(m_window->isVisible());

    QTest::qWait(QApplication::doubleClickInterval());
    QTest::mouseClick(label, Qt::LeftButton);
    QVERIFY(!m_window->isVisible());
}

// The report cannot be written, and the error box opens where the second click lands: it
// must stay until the operator has seen it.
void TestMainWindow::doubleClickOnTheLastOptionLeavesTheErrorBoxOpen()
{
    QVERIFY(QDir().mkdir(QStringLiteral("Ivanov I.I..txt")));
    enterRespondent(Sex::Male, "30");
    keyAnswers(186);
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(400);
    bool stayedOpen = false;
    QTimer::singleShot(0, m_window, [&stayedOpen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        stayedOpen = box->isVisible();
        QTest::qWait(QApplication::doubleClickInterval());
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    QTest::mouseClick(option(1), Qt::LeftButton); // returns once the box is closed
    QVERIFY(stayedOpen);
}

void TestMainWindow::keysPressOptionButtons_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<int>("choice");
    QTest::newRow("1") << int(Qt::Key_1) << false << 1;
    QTest::newRow("2") << int(Qt::Key_2) << false << 2;
    QTest::newRow("3") << int(Qt::Key_3) << false << 3;
    QTest::newRow("keypad 1") << int(Qt::Key_1) << true << 1;
    QTest::newRow("keypad 2") << int(Qt::Key_2) << true << 2;
    QTest::newRow("keypad 3") << int(Qt::Key_3) << true << 3;
}

void TestMainWindow::keysPressOptionButtons()
{
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(int, choice);
    enterRespondent(Sex::Male, "30");
    keyAnswers(2);
    QTest::keyClick(m_window, Qt::Key(key), keypad ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(statementOnShow(), 4);
    QCOMPARE(m_window->sheet().answers.at(3), zorven::answerCode(3, choice));
}

void TestMainWindow::keysWorkWhereverTheFocusIs()
{
    enterRespondent(Sex::Male, "30");
    QTest::keyClick(option(3), Qt::Key_1);
    QCOMPARE(m_window->sheet().answers.at(1), zorven::answerCode(1, 1));
    m_form->child("button5")->setFocus();
    QTest::keyClick(m_form->child("button5"), Qt::Key_2);
    QCOMPARE(m_window->sheet().answers.at(2), zorven::answerCode(2, 2));
    m_window->centralWidget()->setFocus();
    QTest::keyClick(m_window->centralWidget(), Qt::Key_3);
    QCOMPARE(m_window->sheet().answers.at(3), zorven::answerCode(3, 3));
    QCOMPARE(statementOnShow(), 4);
}

void TestMainWindow::backspacePressesUndoOnlyWhenEnabled()
{
    enterRespondent(Sex::Male, "30");
    QTest::keyClick(m_window, Qt::Key_Backspace);
    QCOMPARE(statementOnShow(), 1);
    QTest::keyClick(m_window, Qt::Key_1);
    QTest::keyClick(m_window, Qt::Key_2);
    QTest::keyClick(m_window, Qt::Key_Backspace);
    QCOMPARE(statementOnShow(), 2);
    QCOMPARE(int(m_window->sheet().answers.at(2)), 0);
    QVERIFY(!m_form->child("button5")->isEnabled());
    QTest::keyClick(m_window, Qt::Key_Backspace);
    QCOMPARE(statementOnShow(), 2);
    QCOMPARE(m_window->sheet().answers.at(1), zorven::answerCode(1, 1));
}

void TestMainWindow::autoRepeatedKeysAreIgnored()
{
    enterRespondent(Sex::Male, "30");
    QWidget *focus = option(1);
    focus->setFocus();
    QTest::keyPress(focus, Qt::Key_2);
    QCOMPARE(statementOnShow(), 2);
    for (int repeat = 0; repeat < 5; ++repeat) {
        QKeyEvent held(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, QStringLiteral("2"), true);
        QApplication::sendEvent(focus, &held);
    }
    QTest::keyRelease(focus, Qt::Key_2);
    QCOMPARE(statementOnShow(), 2);

    QKeyEvent heldUndo(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(focus, &heldUndo);
    QCOMPARE(statementOnShow(), 2);
    QVERIFY(m_form->child("button5")->isEnabled());
}

void TestMainWindow::keysTypeNormallyBeforeKeying()
{
    QTest::keyClicks(m_form->child("LEdit"), "123");
    QCOMPARE(m_form->child<QLineEdit>("LEdit")->text(), QStringLiteral("123"));
    QCOMPARE(int(m_window->sheet().answers.at(1)), 0);
}

void TestMainWindow::fullSheetByKeyboard()
{
    enterRespondent(Sex::Female, "40");
    for (int q = 1; q <= 187; ++q)
        QTest::keyClick(m_window, Qt::Key(Qt::Key_0 + choiceFor(q)));
    QVERIFY(!m_form->child("Box1")->isVisible());
    for (int q = 1; q < 187; ++q)
        QCOMPARE(m_window->sheet().answers.at(q), zorven::answerCode(q, choiceFor(q)));
    QCOMPARE(int(m_window->sheet().answers.at(187)), 0);
    QTest::keyClick(m_window, Qt::Key_Backspace);
    QTest::keyClick(m_window, Qt::Key_1);
    QVERIFY(!m_form->child("Box1")->isVisible());
    QCOMPARE(m_window->sheet().answers.at(186), zorven::answerCode(186, choiceFor(186)));
}

void TestMainWindow::exitDuringKeyingWritesNoFile()
{
    enterRespondent(Sex::Male, "30");
    keyAnswers(40);
    m_form->child<QAction>("N3")->trigger();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(QDir::current().entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
             QStringList());
}

void TestMainWindow::resultsLabelClickCloses()
{
    auto *label = m_form->child<QLabel>("Label2");
    QCOMPARE(label->text(), QStringLiteral("Результаты тестирования находятся в файле - "));
    label->move(0, 0);
    label->show();
    QTest::mouseClick(label, Qt::RightButton);
    QVERIFY(m_window->isVisible());
    QTest::mouseClick(label, Qt::LeftButton);
    QVERIFY(!m_window->isVisible());
}

// The table's item is enabled once a table exists when the menu opens, also one that
// another copy of the program made.
void TestMainWindow::saveReportIsDisabledAboveExit()
{
    // The next sheet, verification, testing on the screen and scans come first, then the
    // Finished stage's commands, disabled until a sheet is scored; the results table can be
    // opened whenever it exists; the paper for a group comes last.
    const QList<QAction *> actions = m_form->child<QMenu>("N1")->actions();
    QStringList names;
    for (const QAction *action : actions)
        names << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    QCOMPARE(names, QStringList({"NewSheet", "VerifySheet", "ScreenTesting", "ReadScans", "-",
                                 "SaveReport", "SheetAnswers", "ShowProfile", "PrintProfile",
                                 "SaveProfilePdf", "-", "OpenResultsTable", "-", "Booklet",
                                 "AnswerSheet", "GroupSheets", "-", "N3"}));
    for (int i = 5; i < 10; ++i)
        QVERIFY2(!actions[i]->isEnabled(), qPrintable(names[i]));
    QAction *openTable = actions[11];
    QCOMPARE(shown(openTable->text()), QStringLiteral("Открыть таблицу результатов"));
    Q_EMIT m_form->child<QMenu>("N1")->aboutToShow();
    QVERIFY(!openTable->isEnabled());
    QFile table(QStringLiteral("zorven-results.csv"));
    QVERIFY(table.open(QIODevice::WriteOnly));
    table.close();
    Q_EMIT m_form->child<QMenu>("N1")->aboutToShow();
    QVERIFY(openTable->isEnabled());
    QCOMPARE(shown(actions.last()->text()), QStringLiteral("Выход"));
    QCOMPARE(shown(m_form->child<QMenu>("N1")->title()), QStringLiteral("Тест"));
    QCOMPARE(shown(m_form->child<QMenu>("N4")->title()), QStringLiteral("?"));
}

// Every menu and item has a mnemonic no other in its menu has; Alt alone shows the first
// menu; Alt and a menu's letter open it, and an item's letter chooses it.
void TestMainWindow::menusAndCommandsFromTheKeyboard()
{
    QMenuBar *bar = m_window->menuBar();
    const auto checkMnemonics = [](const QList<QAction *> &actions, const QString &where) {
        QList<QKeySequence> taken;
        for (const QAction *action : actions) {
            if (action->isSeparator())
                continue;
            const QKeySequence mnemonic = QKeySequence::mnemonic(action->text());
            QVERIFY2(!mnemonic.isEmpty() && !taken.contains(mnemonic),
                     qPrintable(where + QStringLiteral(": ") + action->text()));
            taken << mnemonic;
        }
    };
    checkMnemonics(bar->actions(), QStringLiteral("menu bar"));
    for (const QAction *menu : bar->actions())
        checkMnemonics(menu->menu()->actions(), menu->text());

    const QList<std::pair<const char *, QKeySequence>> shortcuts = {
        {"NewSheet", QKeySequence(Qt::CTRL | Qt::Key_N)},   {"SaveReport", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"PrintProfile", QKeySequence(Qt::CTRL | Qt::Key_P)}, {"N3", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"N2", QKeySequence(Qt::Key_F1)}};
    for (const auto &[name, keys] : shortcuts)
        QVERIFY2(m_form->child<QAction>(name)->shortcut() == keys, name);

    QTest::keyClick(m_window, Qt::Key_F1);
    QTRY_VERIFY(m_form->aboutBox().isVisible());
    m_form->aboutBox().hide();
    QVERIFY(QTest::qWaitForWindowActive(m_window));

    QTest::keyClick(m_window, Qt::Key_Alt);
    QCOMPARE(bar->activeAction(), m_form->child<QMenu>("N1")->menuAction());
    QTest::keyClick(m_window, Qt::Key_Escape);

    auto *testMenu = m_form->child<QMenu>("N1");
    QTest::sendKeyEvent(QTest::Click, m_window, Qt::Key(u'Т'), QStringLiteral("т"), Qt::AltModifier);
    QTRY_VERIFY(testMenu->isVisible());
    QTest::sendKeyEvent(QTest::Click, testMenu, Qt::Key(u'Ы'), QStringLiteral("ы"), Qt::NoModifier);
    QTRY_VERIFY(!m_window->isVisible());
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
