// Testing at the computer. «Тестирование на экране…» hands the window over to the
// respondent's screen once the respondent data is typed; at the end the sheet it gave is
// scored as a keyed one, by the same run and results step. An unfinished session found in
// the working folder, at start-up or at that command, is offered to be continued.

#include "administration/respondent_screen.h"
#include "widgets/name_field.h"
#include "app/zorven.h"
#include "results/response_quality.h"
#include "results/results_table.h"
#include "widgets/clickable_label.h"
#include "widgets/form_look.h"
#include "ui_zorven.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTimer>

#include <algorithm>

namespace {

// Where the label sits: in the chart's title bar, right of its title.
const QRect kQualitySignsPlace(258, 4, 146, 18);
const QColor kOnTitleBar(255, 255, 255);
const QColor kFlaggedOnTitleBar(255, 255, 0);

QString signsText(const QList<zorven::QualitySign> &signs)
{
    QStringList lines{zorven::kQualitySignsHeading + QLatin1Char(':')};
    for (const zorven::QualitySign &sign : signs)
        lines << QStringLiteral("— ") + sign.text;
    return lines.join(QLatin1Char('\n'));
}

} // namespace

void TForm1::connectScreenCommands()
{
    connect(ui->ScreenTesting, &QAction::triggered, this, &TForm1::ScreenTestingClick);
    connect(m_qualitySigns, &ClickableLabel::clicked, this, &TForm1::QualitySignsClick);
    // Once the window is up, and tests have put in their own dialogs.
    QTimer::singleShot(0, this, [this] {
        if (!m_entry.isKeying() && !m_entry.isFinished() && !m_screen)
            offerUnfinishedSessions();
    });
}

// An unfinished session comes first; then, with the respondent data typed, a new one.
void TForm1::ScreenTestingClick()
{
    if (m_entry.isKeying() || m_entry.isFinished() || m_screen || m_verifying)
        return QApplication::beep();
    if (offerUnfinishedSessions())
        return;
    if (!m_entry.isNextEnabled()) {
        QApplication::beep();
        ui->LEdit->isChangedByUser() ? ui->ComboBox1->setFocus() : ui->LEdit->setFocus();
        return;
    }
    m_entry.handOverToScreen();
    QString why;
    std::unique_ptr<zorven::SessionJournal> journal = zorven::SessionJournal::start(
        QDir::current(), {surname(), sex(), age()}, QDateTime::currentDateTime(), &why);
    if (!journal) {
        m_entry.takenBackFromScreen();
        m_dialogs->showErrorReport(
            this, QStringLiteral("Тестирование на экране не начато: журнал ответов нельзя создать в "
                                 "папке %1 (%2).")
                      .arg(QDir::toNativeSeparators(QDir::currentPath()), why));
        return;
    }
    openScreen({}, std::move(journal));
}

// True when a session was taken up.
bool TForm1::offerUnfinishedSessions()
{
    for (const QString &path : zorven::sessionJournalsIn(QDir::current())) {
        if (offerSession(path))
            return true;
    }
    return false;
}

// A journal that cannot be read is named and left where it is; one that another copy of
// the program works on is passed over.
bool TForm1::offerSession(const QString &path)
{
    if (m_journal && m_journal->path() == path)
        return false;
    const zorven::JournalReading reading = zorven::readSessionJournal(path);
    if (!reading.contents) {
        m_dialogs->showErrorReport(
            this, QStringLiteral("Журнал тестирования на экране не читается (%1) и оставлен как есть:\n%2")
                      .arg(reading.problem, QDir::toNativeSeparators(path)));
        return false;
    }
    QString why;
    std::unique_ptr<zorven::SessionJournal> journal = zorven::SessionJournal::reopen(path, &why);
    if (!journal)
        return false;
    const zorven::JournalContents &contents = *reading.contents;
    const QString description =
        QStringLiteral("Найдено незаконченное тестирование на экране:\n%1, %2, %3 лет, начато %4.\n"
                       "Дано ответов: %5 из %6.")
            .arg(contents.respondent.surname, zorven::sexTextOf(contents.respondent.sex))
            .arg(contents.respondent.age)
            .arg(QLocale().toString(contents.startedAt, QStringLiteral("dd.MM.yyyy HH:mm")))
            .arg(contents.session.answeredCount())
            .arg(zorven::kStatementCount);
    if (!m_dialogs->askToResumeSession(this, description))
        return false;
    resumeSession(contents, std::move(journal));
    return true;
}

// The respondent data comes back from the journal; a session that ended before its sheet
// was filed goes straight to the results.
void TForm1::resumeSession(const zorven::JournalContents &contents,
                           std::unique_ptr<zorven::SessionJournal> journal)
{
    showRespondentData(contents.respondent);
    m_entry.handOverToScreen();
    if (contents.session.isFinished()) {
        m_journal = std::move(journal);
        scoreScreenSession(contents.session);
        return;
    }
    openScreen(contents.session, std::move(journal));
}

void TForm1::showRespondentData(const zorven::SessionRespondent &respondent)
{
    ui->LEdit->setText(respondent.surname);
    ui->ComboBox1->setCurrentIndex(respondent.sex == zorven::Sex::Female ? 1
                                   : respondent.sex == zorven::Sex::Male ? 0
                                                                         : -1);
    ui->SpinEdit1->setMaximum(zorven::maximumAgeFor(respondent.sex).value_or(zorven::kMaleMaximumAge));
    ui->SpinEdit1->setValue(respondent.age);
}

void TForm1::openScreen(const zorven::ScreenSession &session,
                        std::unique_ptr<zorven::SessionJournal> journal)
{
    m_screen = new RespondentScreen(session, std::move(journal), this);
    connect(m_screen, &RespondentScreen::answeredToTheEnd, this, &TForm1::screenAnsweredToTheEnd);
    connect(m_screen, &RespondentScreen::leftEarly, this, &TForm1::screenLeftEarly);
    hide(); // nothing of the operator's window behind the respondent's
    m_screen->present();
}

// The window comes back before the screen goes, so that the program never has no window.
void TForm1::closeScreen()
{
    show();
    m_screen->hide();
    m_screen->deleteLater();
    m_screen = nullptr;
}

void TForm1::screenAnsweredToTheEnd()
{
    const zorven::ScreenSession session = m_screen->session();
    m_journal = m_screen->takeJournal();
    closeScreen();
    scoreScreenSession(session);
}

void TForm1::screenLeftEarly(bool sessionKept)
{
    std::unique_ptr<zorven::SessionJournal> journal = m_screen->takeJournal();
    closeScreen();
    QString why;
    if (!sessionKept && journal && !journal->remove(&why))
        m_dialogs->showErrorReport(this, QStringLiteral("Журнал тестирования не удалён (%1):\n%2")
                                             .arg(why, QDir::toNativeSeparators(journal->path())));
    m_entry.takenBackFromScreen();
}

void TForm1::scoreScreenSession(const zorven::ScreenSession &session)
{
    m_answerTimes = session.firstAnswerTimes();
    m_answeringMilliseconds = session.answeringMilliseconds();
    m_entry.answeredOnScreen(session.options());
}

// The journal is the only copy of the answers until both the report and the row hold them.
void TForm1::dropJournalOnceFiled()
{
    if (!m_journal || !m_rowKept || m_resultsUnsaved)
        return;
    QString why;
    if (!m_journal->remove(&why))
        m_dialogs->showErrorReport(this, QStringLiteral("Журнал тестирования не удалён (%1):\n%2")
                                             .arg(why, QDir::toNativeSeparators(m_journal->path())));
    m_journal.reset();
}

// Empty for a keyed sheet; a scanned one says so, and how many marks a person settled.
QString TForm1::entryMethod() const
{
    return m_answerTimes ? zorven::kOnScreen : m_entryMethod;
}

// The time spent answering, to the nearest minute; a session of a few seconds is one.
QString TForm1::sessionMinutes() const
{
    if (!m_answerTimes)
        return {};
    constexpr qint64 kMinute = 60'000;
    return zorven::sessionMinutes(int(std::max<qint64>(1, (m_answeringMilliseconds + kMinute / 2) / kMinute)));
}

void TForm1::makeQualitySignsLabel()
{
    m_qualitySigns = new ClickableLabel(ui->centralwidget);
    m_qualitySigns->setObjectName(QStringLiteral("QualitySigns"));
    m_qualitySigns->setGeometry(kQualitySignsPlace);
    m_qualitySigns->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_qualitySigns->setCursor(Qt::PointingHandCursor);
    QFont font = look::formFont(11, look::Weight::Bold);
    font.setUnderline(true);
    m_qualitySigns->setFont(font);
    m_qualitySigns->hide();
}

// The signs in full are a click away; the label itself turns yellow when one is flagged.
void TForm1::showQualitySigns()
{
    const zorven::ResponseQuality quality = m_answerTimes
                                                ? zorven::responseQualityOf(m_sheet.options, *m_answerTimes)
                                                : zorven::responseQualityOf(m_sheet.options);
    m_qualitySignsList = zorven::qualitySigns(quality);
    const bool flagged = std::any_of(m_qualitySignsList.begin(), m_qualitySignsList.end(),
                                     [](const zorven::QualitySign &sign) { return sign.flagged; });
    const QString text = signsText(m_qualitySignsList);
    m_qualitySigns->setText(flagged ? zorven::kQualitySignsHeading + QStringLiteral(" (!)")
                                    : zorven::kQualitySignsHeading);
    QPalette palette = m_qualitySigns->palette();
    palette.setColor(QPalette::WindowText, flagged ? kFlaggedOnTitleBar : kOnTitleBar);
    m_qualitySigns->setPalette(palette);
    m_qualitySigns->setToolTip(text);
    m_qualitySigns->setAccessibleDescription(text);
    m_qualitySigns->raise();
    m_qualitySigns->show();
}

void TForm1::QualitySignsClick()
{
    m_dialogs->showQualitySigns(this, signsText(m_qualitySignsList));
}
