#include "results/report.h"

#include "questionnaire/cp1251.h"
#include "results/general_number.h"

#include <QFile>
#include <QLocale>
#include <QStringEncoder>

#include <algorithm>
#include <array>

namespace zorven {

const QString kReportTitle = QStringLiteral("Результаты теста Зорвенна - Форма А");
const QString kReportStensHeading = QStringLiteral("Результаты по шкалам (Стены)");
const QString kReportSecondOrderHeading = QStringLiteral("Дополнительные факторы второго порядка");

namespace {

const QString kSurnameCaption = QStringLiteral("Фамилия: ");
const QString kAgeCaption = QStringLiteral("Возраст (лет): ");
const QString kSexCaption = QStringLiteral("Пол: ");
const QString kDateCaption = QStringLiteral("Дата проведения: ");

// Given as bytes: seven of them are Cyrillic letters that look like Latin A, B, C, E, H,
// M and O, and a reader comparing with the Latin letters must not match.
constexpr std::array<const char *, kFactorCount> kStenLabels = {
    "\xC0 \t", // Cyrillic A
    "\xC2 \t", // Cyrillic Ve
    "\xD1 \t", // Cyrillic Es
    "\xC5 \t", // Cyrillic Ie
    "F \t",
    "G \t",
    "\xCD \t", // Cyrillic En
    "I \t",
    "L \t",
    "\xCC \t", // Cyrillic Em
    "N \t",
    "\xCE \t", // Cyrillic O
    "Q1\t",
    "Q2\t",
    "Q3\t",
    "Q4\t",
};

constexpr std::array<const char *, 4> kSecondOrderLabels = {"F1\t", "F2\t", "F3\t", "F4\t"};

constexpr char kUnholdableCharacter = '?';
constexpr char16_t kUnsafeNameReplacement = u'_';
const QString kReportExtension = QStringLiteral(".txt");

QString withUnholdableReplaced(const QString &text)
{
    QString holdable;
    holdable.reserve(text.size());
    for (const char32_t c : text.toUcs4())
        holdable += cp1251::isCharacter(c) ? QChar(static_cast<char16_t>(c))
                                           : QChar(kUnholdableCharacter);
    return holdable;
}

// QStringEncoder would write a character the code page lacks as SUB (0x1A), which some
// readers take for the end of the file; such characters are replaced before encoding.
// One encoder per thread: opening the code page's converter costs more than a line does,
// which a batch of many reports feels.
QByteArray toCp1251(const QString &text)
{
    thread_local QStringEncoder encoder("windows-1251", QStringConverter::Flag::Stateless);
    Q_ASSERT(encoder.isValid());
    return encoder.encode(withUnholdableReplaced(text));
}

// Collects the report's lines, each ended by CR LF.
class ReportText {
public:
    void addFixedLine(const QString &text) { addLine(toCp1251(text)); }
    void addEmptyLine() { addLine({}); }
    void addBufferedLine(const QByteArray &line) { addLine(line.left(kReportLineCapacity)); }
    void addBufferedLine(const QString &text) { addBufferedLine(toCp1251(text)); }

    QByteArray bytes() const { return m_bytes; }

private:
    void addLine(const QByteArray &line) { m_bytes += line + "\r\n"; }

    QByteArray m_bytes;
};

// Pattern letters only: the month or day names a pattern may ask for are the C locale's,
// which code page 1251 always holds.
QString dateText(const QDate &date, const QString &pattern)
{
    return QLocale::c().toString(date, pattern);
}

void addRespondentLines(ReportText &text, const ReportData &data, const RegionalSettings &settings)
{
    for (const QString &line : respondentLines(data, settings))
        text.addBufferedLine(line);
}

void addStenLines(ReportText &text, const Stens &stens)
{
    for (int factor = 0; factor < kFactorCount; ++factor)
        text.addBufferedLine(kStenLabels[factor] + QByteArray::number(stens[factor]));
}

void addSecondOrderLines(ReportText &text, const SecondOrder &values, QChar decimalSeparator)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        text.addBufferedLine(kSecondOrderLabels[i] + generalNumber(values[i], decimalSeparator));
}

bool isUnsafeInFileName(QChar c)
{
    static const QString kReserved = QStringLiteral("\\/:*?\"<>|");
    return c.unicode() < 0x20 || c.unicode() == 0x7F || kReserved.contains(c);
}

// Cuts after `count` characters without splitting a surrogate pair.
QString firstCharacters(const QString &text, qsizetype count)
{
    qsizetype end = 0;
    for (qsizetype taken = 0; taken < count && end < text.size(); ++taken)
        end += text.at(end).isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
    return text.left(end);
}

// Linux and most other file systems take at most this many bytes for one file name.
constexpr qsizetype kFileNameByteLimit = 255;

bool fitsFileSystem(const QString &name)
{
    return QFile::encodeName(name).size() <= kFileNameByteLimit;
}

// A name that the file system would refuse (Cyrillic takes two bytes a letter) keeps as
// much of the surname as fits together with the extension.
QString fittedToFileSystem(const QString &name, const QString &surname)
{
    if (fitsFileSystem(name))
        return name;
    QString kept = surname.left(name.size());
    while (!kept.isEmpty() && !fitsFileSystem(kept + kReportExtension))
        kept.chop(kept.size() >= 2 && kept.back().isLowSurrogate() ? 2 : 1);
    return kept + kReportExtension;
}

} // namespace

std::array<QString, 4> respondentLines(const ReportData &data, const RegionalSettings &settings)
{
    return {kSurnameCaption + data.surname, kAgeCaption + QString::number(data.age),
            kSexCaption + data.sexText, kDateCaption + dateText(data.date, settings.shortDatePattern)};
}

QByteArray reportBytes(const ReportData &data, const RegionalSettings &settings)
{
    ReportText text;
    text.addFixedLine(kReportTitle);
    text.addEmptyLine();
    addRespondentLines(text, data, settings);
    text.addEmptyLine();
    text.addFixedLine(kReportStensHeading);
    addStenLines(text, data.stens);
    text.addEmptyLine();
    text.addFixedLine(kReportSecondOrderHeading);
    addSecondOrderLines(text, data.secondOrder, settings.decimalSeparator);
    return text.bytes();
}

QString reportFileName(const QString &surname)
{
    const QString cut = firstCharacters(surname + kReportExtension, kReportLineCapacity);
    QString name = fittedToFileSystem(cut, surname);
    for (QChar &c : name) {
        if (isUnsafeInFileName(c))
            c = kUnsafeNameReplacement;
    }
    return name;
}

bool isPlainReportFileName(const QString &name)
{
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..")
           && fitsFileSystem(name) && std::none_of(name.cbegin(), name.cend(), isUnsafeInFileName);
}

} // namespace zorven
