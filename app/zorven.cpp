#include "app/zorven.h"

#include "app/Unit1.h"
#include "widgets/form_look.h"
#include "widgets/fresh_control_guard.h"
#include "widgets/typed_ahead_guard.h"
#include "app/keyboard_keying.h"
#include "widgets/light_palette.h"
#include "app/results_line.h"
#include "results/io_error.h"
#include "results/report.h"
#include "results/report_file.h"
#include "results/report_naming.h"
#include "profile/results_display.h"
#include "results/results_table.h"
#include "scoring/scoring_run.h"
#include "ui_zorven.h"

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QWindow>

#include <array>
#include <utility>

using look::setLook;
using look::Weight;

namespace {

// The items of the sex list, in their order.
constexpr std::array kSexItems = {zorven::Sex::Male, zorven::Sex::Female};

// How long the window waits for another copy of the program to let go of the results
// table before it asks the operator: long enough for that copy's own append, short enough
// that the window does not seem to hang.
constexpr int kTableLockWaitMilliseconds = 1000;

} // namespace

TForm1::TForm1(QWidget *parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                      | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TForm1>()),
      m_entry(m_sheet.answers, m_sheet.options, *this),
      m_regional(zorven::RegionalSettings::fromSystem())
{
    ui->setupUi(this);
    // The norm groups' limits; the men's maximum holds until a sex is chosen.
    ui->SpinEdit1->setMinimum(zorven::kMinimumAge);
    ui->SpinEdit1->setMaximum(zorven::kMaleMaximumAge);
    ui->SpinEdit1->setValue(zorven::kMinimumAge);
    m_chart = new zorven::ProfileChart(ui->centralwidget);
    makeQualitySignsLabel();
    new look::LightWindows(this);
    applyLook();
    connectHandlers();
    new KeyboardKeying(this, {ui->personbox, ui->LEdit, ui->ComboBox1, ui->Button4, ui->Box1,
                              {ui->Button1, ui->Button2, ui->Button3}, ui->button5});
    new FreshControlGuard(this);
    TypedAheadGuard::watchKeyTimes();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::setAboutBox(TAboutBox *aboutBox)
{
    m_aboutBox = aboutBox;
}

void TForm1::FormCreate()
{
    fitToFrame();
    ui->LEdit->setFocus();
    m_entry.start();
}

void TForm1::LEditChange()
{
    m_entry.nameChanged();
}

void TForm1::ComboBox1Change()
{
    m_entry.sexChanged();
}

void TForm1::Button1Click()
{
    keyOption(1);
}

void TForm1::Button2Click()
{
    keyOption(2);
}

void TForm1::Button3Click()
{
    keyOption(3);
}

// A verification starts here: its first keying is looked up by the surname typed, and
// the respondent data is compared before the first statement shows.
void TForm1::Button4Click()
{
    if (m_verifying && !m_verification && m_entry.isNextEnabled() && !startVerification())
        return;
    m_entry.nextPressed();
}

void TForm1::Button5Click()
{
    takeBackAnswer();
}

// The about box does not block the main window: keying goes on while it is open.
void TForm1::N2Click()
{
    if (m_aboutBox)
        m_aboutBox->showCentred();
}

void TForm1::N3Click()
{
    close();
}

void TForm1::Label2Click()
{
    close();
}

QString TForm1::surname() const
{
    return ui->LEdit->text();
}

QString TForm1::sexText() const
{
    return sex() == zorven::Sex::None ? QString() : ui->ComboBox1->currentText();
}

int TForm1::age() const
{
    return ui->SpinEdit1->value();
}

// The report comes first, then the display. A report that cannot be written is reported
// and loses nothing: the results still show, and "Сохранить отчёт…" can write it elsewhere.
void TForm1::resultsStep()
{
    // One moment for the report's date and the table's row, so that the two agree.
    const QDateTime scoredAt = QDateTime::currentDateTime();
    const zorven::ReportData data{surname(), age(), sexText(), scoredAt.date(),
                                  m_sheet.stens, m_sheet.secondOrder};
    m_reportData = data;
    m_report = zorven::reportBytes(data, m_regional);
    // «Пересчитать» scores a sheet whose own report stands under this name already.
    const bool ownReportStands = !m_reportFileName.isEmpty();
    m_reportFileName = reportNameForSheet();
    const bool reportWritten = showStandingReport() || saveSheetReport(ownReportStands);
    m_resultsUnsaved = !reportWritten;
    if (!reportWritten)
        showReportNotWritten(m_reportFileName);

    zorven::fillResultsDisplay(*m_chart, {ui->RzLabel1, ui->RzLabel2, ui->RzLabel3, ui->RzLabel4},
                               m_sheet, m_regional.decimalSeparator);
    showQualitySigns();
    ui->SaveReport->setEnabled(true);
    offerFinishedCommands();
    showProfilePage();
    // A verification's row names the report of the sheet it checks even when the corrected
    // report could not be written: that name is what tells a verified sheet in the table.
    m_rowKept = keepResultsRow(scoredAt,
                               reportWritten || m_verification ? m_reportFileName : QString());
    dropJournalOnceFiled();
}

// After the display: a table that cannot take the row is reported over the results, which
// stay, as does "Сохранить отчёт…"; the operator may try the same row again as often as
// needed, once another copy has let go of the table or the disk has room.
bool TForm1::keepResultsRow(const QDateTime &scoredAt, const QString &reportFileName)
{
    const zorven::ResultsRow row{scoredAt, surname(), sexText(), age(),
                                 m_sheet.options, m_sheet.raw, m_sheet.stens,
                                 m_sheet.secondOrder, reportFileName, verificationMark(),
                                 entryMethod(), sessionMinutes()};
    const QByteArray rowBytes = zorven::resultsTableRow(row);
    const QString path = resultsTablePath();
    zorven::TableFailure failure;
    do {
        failure = zorven::appendToResultsTable(path, rowBytes, kTableLockWaitMilliseconds);
        enableOpenResultsTable();
        if (failure.tornLine != 0)
            m_dialogs->showResultsTableNotice(this, zorven::tornLineText(failure.tornLine, path));
        if (failure.olderColumnsKept != 0 && !std::exchange(m_olderTableNoticeShown, true))
            m_dialogs->showResultsTableNotice(
                this, zorven::olderTableKeptText(failure.olderColumnsKept, path));
    } while (failure.failed()
             && m_dialogs->askToRetryResultsTable(
                 this, zorven::tableFailureText(failure, path)
                           + QStringLiteral("\n\nРезультаты остаются на экране, отчёт можно "
                                            "сохранить командой «Тест → Сохранить отчёт…».")));
    return !failure.failed();
}

QString TForm1::resultsTablePath() const
{
    return QDir::current().absoluteFilePath(zorven::kResultsTableFileName);
}

// Another copy of the program may have made the table since: looked at each time the menu
// opens.
void TForm1::enableOpenResultsTable()
{
    ui->OpenResultsTable->setEnabled(QFileInfo(resultsTablePath()).isFile());
}

void TForm1::N1AboutToShow()
{
    enableOpenResultsTable();
}

void TForm1::OpenResultsTableClick()
{
    m_dialogs->openResultsTable(resultsTablePath());
}

void TForm1::SaveReportClick()
{
    saveReportElsewhere();
}

bool TForm1::saveReportElsewhere()
{
    const QString path =
        m_dialogs->askReportPath(this, QDir::current().absoluteFilePath(m_reportFileName));
    if (path.isEmpty() || !saveReport(path))
        return false;
    m_resultsUnsaved = false;
    dropJournalOnceFiled();
    return true;
}

// Closing is immediate and silent, except when it would lose results that are in no file.
bool TForm1::mayClose()
{
    if (!m_resultsUnsaved)
        return true;
    switch (m_dialogs->askAboutUnsavedResults(this)) {
    case Dialogs::UnsavedResultsChoice::Save:
        return saveReportElsewhere();
    case Dialogs::UnsavedResultsChoice::Quit:
        return true;
    case Dialogs::UnsavedResultsChoice::Stay:
        return false;
    }
    return false;
}

// A report standing under the sheet's name is replaced only when that is planned: the
// sheet's own («Пересчитать», a verification) or, when the operator says so, one of the
// same surname, sex and age, which in a class of one age may well be another pupil. Every
// other report is made exclusively, so that one another copy of the program wrote a moment
// ago stays: the next free number is taken instead. Anything but a plain file standing
// there is refused by the writer, as before.
bool TForm1::saveSheetReport(bool ownReportStands)
{
    const QFileInfo standing(m_reportFileName);
    if (standing.exists() || standing.isSymLink()) {
        if (!standing.isFile() || standing.isSymLink() || ownReportStands || m_verification
            || m_dialogs->askToReplaceReport(this, m_reportFileName))
            return saveReport(m_reportFileName);
        m_reportFileName = freeReportName();
    }
    int code = 0;
    while ((code = zorven::writeReport(m_reportFileName, m_report, zorven::ReportSync::EachReport,
                                       zorven::ExistingReport::Keep))
           == zorven::kReportNameTaken)
        m_reportFileName = freeReportName();
    return reportSaved(code, m_reportFileName);
}

// The first of the surname's report names, numbered or not, with nothing at all under it.
QString TForm1::freeReportName() const
{
    return zorven::firstFreeReportName(zorven::reportFileName(surname()), [](const QString &name) {
        const QFileInfo entry(name);
        return !entry.exists() && !entry.isSymLink();
    });
}

bool TForm1::saveReport(const QString &path)
{
    return reportSaved(zorven::writeReport(path, m_report), path);
}

bool TForm1::reportSaved(int code, const QString &path)
{
    if (code != 0) {
        m_dialogs->showFileErrorReport(this, zorven::withClosingFullStop(zorven::ioErrorText(code)),
                                       QFileInfo(path).absoluteFilePath());
        return false;
    }
    showReportLocation(path);
    return true;
}

void TForm1::showReportLocation(const QString &path)
{
    const QString text = ResultsLine::reportLocationText(path);
    ui->Label2->setText(text);
    ui->Label2->setToolTip(text); // for a folder too long even for the line's smallest text
    ui->Label2->show();
}

// The file may hold an earlier scoring's results, or nothing: the label must not say it
// holds these.
void TForm1::showReportNotWritten(const QString &path)
{
    const QString text =
        QStringLiteral("Отчёт не записан в файл - ") + QDir::toNativeSeparators(path);
    ui->Label2->setText(text);
    ui->Label2->setToolTip(
        text + QStringLiteral("\nСохранить его можно командой «Тест → Сохранить отчёт…»."));
    ui->Label2->show();
}

bool TForm1::nameChangedByUser() const
{
    return ui->LEdit->isChangedByUser();
}

zorven::Sex TForm1::sex() const
{
    const int item = ui->ComboBox1->currentIndex();
    return item >= 0 && item < int(kSexItems.size()) ? kSexItems[item] : zorven::Sex::None;
}

void TForm1::setAge(int age)
{
    ui->SpinEdit1->setValue(age);
}

void TForm1::setAgeMaximum(int maximum)
{
    ui->SpinEdit1->setMaximum(maximum);
}

void TForm1::enableNext()
{
    ui->Button4->setEnabled(true);
}

void TForm1::showStatement(const zorven::StatementOnShow &statement)
{
    ui->Label1->setText(statement.text);
    ui->Button1->setText(statement.options[0]);
    ui->Button2->setText(statement.options[1]);
    ui->Button3->setText(statement.options[2]);
    ui->Box2->setTitle(statement.caption);
}

void TForm1::setUndoButton(zorven::UndoButton state)
{
    ui->button5->setVisible(state != zorven::UndoButton::Hidden);
    ui->button5->setEnabled(state == zorven::UndoButton::Available);
}

// Every stage's caption, groups, undo button and results controls, in one place.
void TForm1::setStage(zorven::Stage stage)
{
    using zorven::Stage;
    setWindowTitle(stageTitle(stage));
    ui->VerifySheet->setEnabled(stage == Stage::RespondentData);
    ui->ScreenTesting->setEnabled(stage == Stage::RespondentData);
    switch (stage) {
    case Stage::RespondentData:
        ui->personbox->move(139, 61);
        ui->personbox->show();
        ui->Box1->hide();
        ui->button5->hide();
        hideResults();
        break;
    case Stage::Keying:
        ui->personbox->hide();
        ui->Box1->move(6, 3);
        ui->Box1->show();
        ui->button5->move(195, 270); // shown from the first answer on: setUndoButton
        ui->button5->hide();
        hideResults();
        break;
    case Stage::OnScreen:
        // The respondent's screen covers the window, which keeps the respondent data.
        ui->Box1->hide();
        ui->button5->hide();
        hideResults();
        break;
    case Stage::Finished:
        ui->personbox->hide();
        ui->Box1->hide();
        ui->button5->hide();
        // The results controls show once the scoring run has filled them: resultsStep.
        break;
    }
}

void TForm1::hideResults()
{
    m_chart->hide();
    for (QWidget *label : std::initializer_list<QWidget *>{ui->RzLabel1, ui->RzLabel2, ui->RzLabel3,
                                                           ui->RzLabel4, ui->Label2, m_qualitySigns})
        label->hide();
}

void TForm1::startScoringRun()
{
    const zorven::Respondent respondent{sex(), age()};
    zorven::scoringRun(m_sheet, respondent, [this] { resultsStep(); });
    if (m_verification)
        summariseVerification();
}

void TForm1::connectHandlers()
{
    connect(ui->LEdit, &QLineEdit::textChanged, this, &TForm1::LEditChange);
    connect(ui->ComboBox1, &QComboBox::currentIndexChanged, this, &TForm1::ComboBox1Change);
    connect(ui->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(ui->Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(ui->button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(ui->N2, &QAction::triggered, this, &TForm1::N2Click);
    connect(ui->N3, &QAction::triggered, this, &TForm1::N3Click);
    connect(ui->Label2, &ClickableLabel::clicked, this, &TForm1::Label2Click);
    connect(ui->SaveReport, &QAction::triggered, this, &TForm1::SaveReportClick);
    connectFinishedCommands();
    connectPaperCommands();
    connectStackCommands();
    connectScreenCommands();
    connectScanCommands();
    connect(ui->N1, &QMenu::aboutToShow, this, &TForm1::N1AboutToShow);
    connect(ui->OpenResultsTable, &QAction::triggered, this, &TForm1::OpenResultsTableClick);
}

void TForm1::applyLook()
{
    setLook(this, look::formFont(13, Weight::Bold), look::kBlack);
    ui->MainMenu1->setFont(look::platformFont("QMenuBar"));

    const QFont entryFont = look::formFont(11, Weight::Regular);
    setLook(ui->personbox, look::formFont(12, Weight::Bold), look::kNavy);
    setLook(ui->LEditLabel, entryFont, look::kBlack);
    setLook(ui->LEdit, entryFont, look::kBlack);
    setLook(ui->StaticText1, entryFont, look::kBlack);
    setLook(ui->SpinEdit1, look::formFont(13, Weight::Bold), look::kNavy);
    setLook(ui->Button4, entryFont, look::kBlack);
    look::widenToContentAroundCentre(ui->ComboBox1);

    // The statement group is filled in the colour Windows gives active window borders.
    setLook(ui->Box2, entryFont, look::kBlack);
    QPalette statementPalette = ui->Box2->palette();
    statementPalette.setColor(QPalette::Window, QColor(180, 180, 180));
    ui->Box2->setPalette(statementPalette);
    setLook(ui->Label1, look::namedFont(QStringLiteral("Arial"), 15, Weight::Bold), look::kNavy);
    for (QPushButton *option : {ui->Button1, ui->Button2, ui->Button3})
        option->setFont(look::formFont(8, Weight::Regular));

    // Where the report went, under the value labels: the finished window has little room
    // there, so the text is smaller than the other captions in maroon.
    setLook(ui->Label2, look::formFont(11, Weight::Bold), look::kMaroon);
    ui->Label2->setCursor(Qt::PointingHandCursor);
}

// The places of the controls are measured from the top-left corner of the area below the
// menu bar. The window's outer size includes a frame that only the platform knows, often
// not before the window is on the screen, so the fit is made again once it is known.
// The size is fixed: nothing grows with the window, and a maximised one would leave the
// controls in a corner of an empty grey area.
void TForm1::fitToFrame()
{
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const int menuHeight = ui->MainMenu1->sizeHint().height();
    const QSize fromOuter = kOuterSize.shrunkBy(frame);
    const QSize needed = kMinimumContentSize + QSize(0, menuHeight);
    setFixedSize(fromOuter.expandedTo(needed));

    const QScreen *screen = this->screen();
    if (!screen)
        return;
    const QSize outer = size().grownBy(frame);
    const QPoint centredTopLeft =
        screen->availableGeometry().center() - QPoint(outer.width() / 2, outer.height() / 2);
    move(centredTopLeft);
}

// Where the frame is known on showing, the window is fitted then; a window manager that
// adds its frame afterwards moves the window, and the fit follows at that move.
void TForm1::fitOnceFrameIsKnown()
{
    if (m_fittedToKnownFrame || !windowHandle() || windowHandle()->frameMargins().isNull())
        return;
    m_fittedToKnownFrame = true;
    fitToFrame();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (mayClose())
        event->accept();
    else
        event->ignore();
}

// The decimal separator and the date pattern follow the user's settings as they change.
void TForm1::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LocaleChange)
        m_regional = zorven::RegionalSettings::fromSystem();
    QMainWindow::changeEvent(event);
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    fitOnceFrameIsKnown();
}

void TForm1::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    fitOnceFrameIsKnown();
}
