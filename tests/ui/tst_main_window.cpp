// The main window driven as an operator drives it: the three stages, the respondent data,
// keying by mouse and by keyboard, and leaving the program.

#include "app/age_field.h"
#include "app/zorven.h"
#include "questionnaire/answer_key.h"
#include "scoring/scoring_run.h"
#include "ui/form_driver.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kRespondentCaption = QStringLiteral("Тест Зорвенна (Форма А) - Заполнение анекты");
const QString kKeyingCaption = QStringLiteral("Тест Зорвенна (Форма А)");

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
    void init();
    void cleanup();

    void startsInRespondentDataStage();
    void placesAreMeasuredBelowTheMenuBar();
    void windowIsCentredAndHoldsItsContent();
    void resizingMovesNothing();
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
    void scoringReadsNonNumberAgeAs16();
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

private:
    template<typename T = QWidget>
    T *child(const char *name) const
    {
        return form_driver::child<T>(m_window, name);
    }
    QPushButton *option(int choice) const;
    void typeName(const QString &latinName);
    void chooseSex(int index);
    void setAgeText(const QString &text);
    void enterRespondent(int sex, const QString &age);
    void keyAnswers(int count);
    int statementOnShow() const;

    TForm1 *m_window = nullptr;
    QTemporaryDir *m_workDir = nullptr;
    QString m_previousDir;
};

void TestMainWindow::init()
{
    // Nothing the window does may leave a file behind; each test looks in an empty folder.
    m_workDir = new QTemporaryDir;
    QVERIFY(m_workDir->isValid());
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_workDir->path()));
    m_window = new TForm1;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestMainWindow::cleanup()
{
    delete m_window;
    QVERIFY(QDir::setCurrent(m_previousDir));
    delete m_workDir;
}

QPushButton *TestMainWindow::option(int choice) const
{
    const char *names[] = {"Button1", "Button2", "Button3"};
    return child<QPushButton>(names[choice - 1]);
}

void TestMainWindow::typeName(const QString &latinName)
{
    QTest::keyClicks(child<QLineEdit>("LEdit"), latinName);
}

void TestMainWindow::chooseSex(int index)
{
    form_driver::chooseSex(m_window, index);
    QCOMPARE(child<QComboBox>("ComboBox1")->currentIndex(), index);
}

void TestMainWindow::setAgeText(const QString &text)
{
    form_driver::typeAge(m_window, text);
    QCOMPARE(child<AgeField>("SpinEdit1")->text(), text);
}

void TestMainWindow::enterRespondent(int sex, const QString &age)
{
    typeName("Ivanov I.I.");
    chooseSex(sex);
    setAgeText(age);
    QTest::mouseClick(child<QPushButton>("Button4"), Qt::LeftButton);
    QVERIFY(child("Box1")->isVisible());
}

void TestMainWindow::keyAnswers(int count)
{
    for (int i = 0; i < count; ++i)
        QTest::mouseClick(option(choiceFor(statementOnShow())), Qt::LeftButton);
}

int TestMainWindow::statementOnShow() const
{
    const QString caption = child<QGroupBox>("Box2")->title();
    const QString prefix = QStringLiteral("Утверждение № ");
    if (!caption.startsWith(prefix))
        qFatal("unexpected statement caption");
    return caption.sliced(prefix.size()).toInt();
}

void TestMainWindow::startsInRespondentDataStage()
{
    QCOMPARE(m_window->windowTitle(), kRespondentCaption);
    QVERIFY(child("personbox")->isVisible());
    QVERIFY(!child("Box1")->isVisible());
    QVERIFY(!child("button5")->isVisible());
    QVERIFY(!child<QPushButton>("Button4")->isEnabled());
    QCOMPARE(child<QComboBox>("ComboBox1")->currentIndex(), -1);
    QCOMPARE(child<QComboBox>("ComboBox1")->placeholderText(), QStringLiteral("Пол"));
    QCOMPARE(child<AgeField>("SpinEdit1")->text(), QStringLiteral("16"));
    QCOMPARE(child<AgeField>("SpinEdit1")->maximum(), 60);
    for (const char *name : {"RzLabel1", "RzLabel2", "RzLabel3", "RzLabel4", "Label2"})
        QVERIFY2(!child(name)->isVisible(), name);
    QVERIFY(child("LEdit")->hasFocus());
    // The first statement is already in the hidden answer group.
    QCOMPARE(statementOnShow(), 1);
    QVERIFY(!option(1)->text().isEmpty());
}

void TestMainWindow::placesAreMeasuredBelowTheMenuBar()
{
    const QWidget *content = m_window->centralWidget();
    QCOMPARE(content->y(), m_window->menuBar()->geometry().bottom() + 1);
    QCOMPARE(child("personbox")->parentWidget(), content);
    QCOMPARE(child("personbox")->geometry(), QRect(139, 61, 145, 161));
    QCOMPARE(child("Box1")->parentWidget(), content);
    QCOMPARE(child("button5")->parentWidget(), content);
    QCOMPARE(child("RzLabel4")->geometry(), QRect(312, 264, 66, 16));
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

void TestMainWindow::resizingMovesNothing()
{
    enterRespondent(0, "30");
    keyAnswers(1);
    const QStringList names = {"Box1",    "Box2",    "Label1", "Button1",
                               "Button2", "Button3", "button5"};
    QList<QRect> before;
    for (const QString &name : names)
        before << child(name.toLatin1().constData())->geometry();
    m_window->resize(m_window->size() + QSize(150, 120));
    QTRY_COMPARE(m_window->centralWidget()->width(), m_window->width());
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(child(names[i].toLatin1().constData())->geometry(), before[i]);
}

void TestMainWindow::nextNeedsTypedNameAndSex()
{
    auto *next = child<QPushButton>("Button4");
    chooseSex(0);
    QVERIFY(!next->isEnabled());
    typeName("I");
    QVERIFY(next->isEnabled());
}

void TestMainWindow::nextStaysEnabledWhenNameIsDeleted()
{
    typeName("Iv");
    QVERIFY(!child<QPushButton>("Button4")->isEnabled());
    QTest::keyClick(child("LEdit"), Qt::Key_Backspace);
    QTest::keyClick(child("LEdit"), Qt::Key_Backspace);
    chooseSex(1);
    QVERIFY(child<QPushButton>("Button4")->isEnabled());
    QTest::mouseClick(child<QPushButton>("Button4"), Qt::LeftButton);
    QVERIFY(child("Box1")->isVisible());
    QCOMPARE(child<QLineEdit>("LEdit")->text(), QString());
}

// Typing into the sex field must never leave no item chosen once one was.
void TestMainWindow::sexFieldTakesOnlyItsItems()
{
    auto *sex = child<QComboBox>("ComboBox1");
    QVERIFY(!sex->isEditable());
    QCOMPARE(sex->count(), 2);
    QCOMPARE(sex->itemText(0), QStringLiteral("Мужской"));
    QCOMPARE(sex->itemText(1), QStringLiteral("Женский"));
    chooseSex(1);
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
    auto *age = child<AgeField>("SpinEdit1");
    chooseSex(0);
    setAgeText("58");
    chooseSex(1);
    QCOMPARE(age->maximum(), 55);
    QCOMPARE(age->text(), QStringLiteral("58"));
    chooseSex(0);
    QCOMPARE(age->maximum(), 60);
}

// "Далее" pressed by keyboard while the age field keeps the focus: the field's own
// clamping on leaving never runs, yet the age must come into range.
void TestMainWindow::nextBringsAgeIntoRangeWithoutLeavingTheField_data()
{
    QTest::addColumn<int>("sex");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("woman 58") << 1 << "58" << "55";
    QTest::newRow("man 58") << 0 << "58" << "58";
    QTest::newRow("man 75") << 0 << "75" << "60";
    QTest::newRow("woman 9") << 1 << "9" << "16";
    QTest::newRow("not a whole number") << 0 << "5.5" << "5.5";
}

void TestMainWindow::nextBringsAgeIntoRangeWithoutLeavingTheField()
{
    QFETCH(int, sex);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    typeName("Petrova");
    chooseSex(sex);
    setAgeText(typed);
    QTest::keyClick(child("Button4"), Qt::Key_Space);
    QVERIFY(child("Box1")->isVisible());
    QCOMPARE(child<AgeField>("SpinEdit1")->text(), shown);
}

// A woman's age entered under the men's maximum, the field left, then "Женский" chosen.
void TestMainWindow::nextStartsKeyingStage()
{
    typeName("Sidorova");
    chooseSex(0);
    setAgeText("58");
    chooseSex(1);
    QCOMPARE(child<AgeField>("SpinEdit1")->text(), QStringLiteral("58"));
    QTest::mouseClick(child<QPushButton>("Button4"), Qt::LeftButton);

    QCOMPARE(m_window->windowTitle(), kKeyingCaption);
    QCOMPARE(child<AgeField>("SpinEdit1")->text(), QStringLiteral("55"));
    QVERIFY(!child("personbox")->isVisible());
    QVERIFY(child("Box1")->isVisible());
    QCOMPARE(child("Box1")->pos(), QPoint(6, 3));
    QCOMPARE(child("button5")->pos(), QPoint(195, 270));
    QVERIFY(!child("button5")->isVisible());
    QCOMPARE(child<QGroupBox>("Box2")->title(), QStringLiteral("Утверждение № 1"));
}

void TestMainWindow::optionClickRecordsAndShowsUndo()
{
    enterRespondent(0, "30");
    QTest::mouseClick(option(3), Qt::LeftButton);
    QCOMPARE(m_window->sheet().answers.at(1), zorven::answerCode(1, 3));
    QCOMPARE(statementOnShow(), 2);
    QVERIFY(child("button5")->isVisible());
    QVERIFY(child("button5")->isEnabled());
    QCOMPARE(child("button5")->toolTip(), QStringLiteral("Вернуть"));
}

void TestMainWindow::undoReturnsOneStepAndDisablesItself()
{
    enterRespondent(0, "30");
    QTest::mouseClick(option(1), Qt::LeftButton);
    QTest::mouseClick(child("button5"), Qt::LeftButton);
    QCOMPARE(statementOnShow(), 1);
    QCOMPARE(int(m_window->sheet().answers.at(1)), 0);
    QVERIFY(child("button5")->isVisible());
    QVERIFY(!child("button5")->isEnabled());

    QTest::mouseClick(option(2), Qt::LeftButton);
    QCOMPARE(m_window->sheet().answers.at(1), zorven::answerCode(1, 2));
    QVERIFY(child("button5")->isEnabled());
}

void TestMainWindow::fullSheetByMouseEndsKeyingAndScores()
{
    enterRespondent(0, "30");
    keyAnswers(186);
    QCOMPARE(statementOnShow(), 187);
    QTest::mouseClick(option(2), Qt::LeftButton);

    QVERIFY(!child("Box1")->isVisible());
    QVERIFY(!child("button5")->isVisible());
    QVERIFY(!child("personbox")->isVisible());
    QCOMPARE(m_window->windowTitle(), kKeyingCaption);
    QCOMPARE(statementOnShow(), 187);
    const zorven::Sheet &sheet = m_window->sheet();
    for (int q = 1; q < 187; ++q)
        QCOMPARE(sheet.answers.at(q), zorven::answerCode(q, choiceFor(q)));
    QCOMPARE(int(sheet.answers.at(187)), 0);

    zorven::Sheet expected;
    expected.answers = sheet.answers;
    zorven::scoringRun(expected, {0, 30}, [] {});
    QCOMPARE(sheet.raw, expected.raw);
    QCOMPARE(sheet.stens, expected.stens);
    QCOMPARE(sheet.secondOrder, expected.secondOrder);
    QCOMPARE(QDir::current().entryList(QDir::NoDotAndDotDot | QDir::AllEntries, QDir::Name),
             QStringList({"Ivanov I.I..txt", "zorven-results.csv"}));
}

void TestMainWindow::scoringReadsNonNumberAgeAs16()
{
    enterRespondent(1, "5.5");
    keyAnswers(187);
    QVERIFY(!child("Box1")->isVisible());

    const auto stensFor = [this](int age) {
        zorven::Sheet sheet;
        sheet.answers = m_window->sheet().answers;
        zorven::scoringRun(sheet, {1, age}, [] {});
        return sheet.stens;
    };
    QVERIFY2(stensFor(16) != stensFor(50), "the sheet must tell the age bands apart");
    QCOMPARE(m_window->sheet().stens, stensFor(16));
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
    enterRespondent(0, "30");
    keyAnswers(2);
    QTest::keyClick(m_window, Qt::Key(key), keypad ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(statementOnShow(), 4);
    QCOMPARE(m_window->sheet().answers.at(3), zorven::answerCode(3, choice));
}

void TestMainWindow::keysWorkWhereverTheFocusIs()
{
    enterRespondent(0, "30");
    QTest::keyClick(option(3), Qt::Key_1);
    QCOMPARE(m_window->sheet().answers.at(1), zorven::answerCode(1, 1));
    child("button5")->setFocus();
    QTest::keyClick(child("button5"), Qt::Key_2);
    QCOMPARE(m_window->sheet().answers.at(2), zorven::answerCode(2, 2));
    m_window->centralWidget()->setFocus();
    QTest::keyClick(m_window->centralWidget(), Qt::Key_3);
    QCOMPARE(m_window->sheet().answers.at(3), zorven::answerCode(3, 3));
    QCOMPARE(statementOnShow(), 4);
}

void TestMainWindow::backspacePressesUndoOnlyWhenEnabled()
{
    enterRespondent(0, "30");
    QTest::keyClick(m_window, Qt::Key_Backspace);
    QCOMPARE(statementOnShow(), 1);
    QTest::keyClick(m_window, Qt::Key_1);
    QTest::keyClick(m_window, Qt::Key_2);
    QTest::keyClick(m_window, Qt::Key_Backspace);
    QCOMPARE(statementOnShow(), 2);
    QCOMPARE(int(m_window->sheet().answers.at(2)), 0);
    QVERIFY(!child("button5")->isEnabled());
    QTest::keyClick(m_window, Qt::Key_Backspace);
    QCOMPARE(statementOnShow(), 2);
    QCOMPARE(m_window->sheet().answers.at(1), zorven::answerCode(1, 1));
}

void TestMainWindow::autoRepeatedKeysAreIgnored()
{
    enterRespondent(0, "30");
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
    QVERIFY(child("button5")->isEnabled());
}

void TestMainWindow::keysTypeNormallyBeforeKeying()
{
    QTest::keyClicks(child("LEdit"), "123");
    QCOMPARE(child<QLineEdit>("LEdit")->text(), QStringLiteral("123"));
    QCOMPARE(int(m_window->sheet().answers.at(1)), 0);
}

void TestMainWindow::fullSheetByKeyboard()
{
    enterRespondent(1, "40");
    for (int q = 1; q <= 187; ++q)
        QTest::keyClick(m_window, Qt::Key(Qt::Key_0 + choiceFor(q)));
    QVERIFY(!child("Box1")->isVisible());
    for (int q = 1; q < 187; ++q)
        QCOMPARE(m_window->sheet().answers.at(q), zorven::answerCode(q, choiceFor(q)));
    QCOMPARE(int(m_window->sheet().answers.at(187)), 0);
    QTest::keyClick(m_window, Qt::Key_Backspace);
    QTest::keyClick(m_window, Qt::Key_1);
    QVERIFY(!child("Box1")->isVisible());
    QCOMPARE(m_window->sheet().answers.at(186), zorven::answerCode(186, choiceFor(186)));
}

void TestMainWindow::exitDuringKeyingWritesNoFile()
{
    enterRespondent(0, "30");
    keyAnswers(40);
    child<QAction>("N3")->trigger();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(QDir::current().entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
             QStringList());
}

void TestMainWindow::resultsLabelClickCloses()
{
    auto *label = child<QLabel>("Label2");
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
    const QList<QAction *> actions = child<QMenu>("N1")->actions();
    QCOMPARE(actions.size(), 3);
    QCOMPARE(actions[0]->objectName(), QStringLiteral("SaveReport"));
    QVERIFY(!actions[0]->isEnabled());
    QCOMPARE(actions[1]->objectName(), QStringLiteral("OpenResultsTable"));
    QCOMPARE(actions[1]->text(), QStringLiteral("Открыть таблицу результатов"));
    Q_EMIT child<QMenu>("N1")->aboutToShow();
    QVERIFY(!actions[1]->isEnabled());
    QFile table(QStringLiteral("zorven-results.csv"));
    QVERIFY(table.open(QIODevice::WriteOnly));
    table.close();
    Q_EMIT child<QMenu>("N1")->aboutToShow();
    QVERIFY(actions[1]->isEnabled());
    QCOMPARE(actions[2]->objectName(), QStringLiteral("N3"));
    QCOMPARE(actions[2]->text(), QStringLiteral("Выход"));
    QCOMPARE(child<QMenu>("N1")->title(), QStringLiteral("Тест"));
    QCOMPARE(child<QMenu>("N4")->title(), QStringLiteral("?"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
