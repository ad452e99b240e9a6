// The reader of scanned sheets on generated pages, one per hard case, and the table that
// --read-scans writes: a mark is read as a careful person reads it or left to a person,
// never read as another letter; a page upside down is turned, never read as upright.

#include "scan/page_reader.h"
#include "scan/read_scans_command.h"
#include "scan/scan_files.h"
#include "scan/scans_table.h"
#include "sheet_generator.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

namespace {

using namespace sheet_generator;

// Every statement as `page` says, or (where it says '?') left to a person.
void compareReadings(const Page &page, const zorven::scan::ScannedPage &read)
{
    QVERIFY2(read.wasRead(), qPrintable(read.failure));
    for (int q = 0; q < zorven::kStatementCount; ++q) {
        const QChar expected = page.expected[std::size_t(q)];
        const QChar reading = read.statements[std::size_t(q)].reading;
        const bool right = expected == u'?' ? (reading == u'?' || reading == u'-') : reading == expected;
        QVERIFY2(right, qPrintable(QStringLiteral("statement %1: %2 read as %3 (%4)")
                                       .arg(q + 1).arg(expected).arg(reading)
                                       .arg(read.statements[std::size_t(q)].why)));
    }
    QCOMPARE(read.sex.reading, page.sex);
    QCOMPARE(QString(read.ageTens.reading) + read.ageUnits.reading, QString::number(page.age));
}

// A PDF as scanners write it: one page, one JPEG image over the whole A4 page.
QByteArray scannerPdf(const QByteArray &jpeg, const QSize &size)
{
    const QByteArray content = "q 595.28 0 0 841.89 0 0 cm /Im0 Do Q";
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595.28 841.89] /Resources << /XObject << /Im0 5 0 R >> >> "
        "/Contents 4 0 R >>",
        "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream",
        "<< /Type /XObject /Subtype /Image /Width " + QByteArray::number(size.width()) + " /Height "
            + QByteArray::number(size.height()) + " /ColorSpace /DeviceGray /BitsPerComponent 8 /Filter /DCTDecode "
            "/Length " + QByteArray::number(jpeg.size()) + " >>\nstream\n" + jpeg + "\nendstream",
    };
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype table = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
           + QByteArray::number(table) + "\n%%EOF\n";
    return pdf;
}

Conditions usual(std::uint32_t seed)
{
    Conditions c;
    c.seed = seed;
    c.rotationDegrees = 1.5;
    c.blurSigma = 0.6;
    c.noiseSigma = 3;
    c.jpegQuality = 80;
    return c;
}

} // namespace

class TestScanReader : public QObject
{
    Q_OBJECT

private slots:
    void readsAsAPersonWould_data();
    void readsAsAPersonWould();
    void readsAPdfPage_data();
    void readsAPdfPage();
    void noPageAfterAStopIsAsked();
    void writesTheTableAndSaysWhenAPersonIsNeeded();
    void aGroupSheetIsNamedOnlyByARowOfItsOwn();

private:
    QTemporaryDir m_dir;
};

void TestScanReader::readsAsAPersonWould_data()
{
    QTest::addColumn<Conditions>("conditions");
    Conditions fold = usual(11);
    fold.foldedCorner = 1;
    Conditions turned = usual(12);
    turned.upsideDown = true;
    Conditions corrections = usual(13);
    corrections.corrections = 0.3;
    Conditions twoMarks = usual(14);
    twoMarks.twoMarks = 0.3;
    twoMarks.erasures = 0.1;
    Conditions pencil = usual(15);
    pencil.pen = Pen::LightPencil;
    pencil.tooLight = 0.05;
    pencil.erasures = 0; // what an eraser leaves of a light pencil mark is read as empty: see the benchmark
    QTest::newRow("a fold hides the top right corner mark and the sheet code's side") << fold;
    QTest::newRow("upside down") << turned;
    QTest::newRow("corrections by the sheet's rule") << corrections;
    QTest::newRow("two marks and erasures") << twoMarks;
    QTest::newRow("light pencil") << pencil;
}

void TestScanReader::readsAsAPersonWould()
{
    QFETCH(Conditions, conditions);
    const Page page = generatedPage(conditions);
    const zorven::scan::ScannedPage read = zorven::scan::readPage(page.image);
    compareReadings(page, read);
    QCOMPARE(read.turnedDegrees, conditions.upsideDown ? 180 : 0);
}

// A PDF page that is one JPEG image is read from that image; one drawn by another program
// is drawn at 300 dpi. Both read as the scan itself.
void TestScanReader::readsAPdfPage_data()
{
    QTest::addColumn<bool>("scanners");
    QTest::newRow("a scanner's PDF, its JPEG taken as it is") << true;
    QTest::newRow("another program's PDF, drawn") << false;
}

void TestScanReader::readsAPdfPage()
{
    QFETCH(bool, scanners);
    const Page page = generatedPage(usual(16));
    const QString pdf = m_dir.filePath(QStringLiteral("scan.pdf"));
    if (scanners) {
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(scannerPdf(page.file, page.image.size()));
    } else {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF());
        QPainter painter(&writer);
        painter.drawImage(QRect(0, 0, writer.width(), writer.height()), page.image);
    }
    int pages = 0;
    const QString failure = zorven::scan::forEachPage(pdf, [&](int number, const QImage &image, const QString &why) {
        ++pages;
        QCOMPARE(number, 1);
        QVERIFY2(why.isEmpty(), qPrintable(why));
        QCOMPARE(image.size() == page.image.size(), scanners);
        compareReadings(page, zorven::scan::readPage(image));
    });
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(pages, 1);
}

// A reading the operator cancels is given no page after the one being read.
void TestScanReader::noPageAfterAStopIsAsked()
{
    const QString pdf = m_dir.filePath(QStringLiteral("three pages.pdf"));
    {
        QPdfWriter writer(pdf);
        QPainter painter(&writer);
        writer.newPage();
        writer.newPage();
    }
    int pages = 0;
    const QString failure = zorven::scan::forEachPage(
        pdf, [&](int, const QImage &, const QString &) { ++pages; }, [&] { return pages == 1; });
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(pages, 1);
}

void TestScanReader::writesTheTableAndSaysWhenAPersonIsNeeded()
{
    Conditions clean = usual(17);
    clean.blanks = clean.twoMarks = clean.corrections = clean.erasures = clean.tooLight = 0;
    const Page page = generatedPage(clean);
    const QString png = m_dir.filePath(QStringLiteral("clean.png"));
    QVERIFY(page.image.save(png));
    const QString out = m_dir.filePath(QStringLiteral("out"));
    QCOMPARE(zorven::scan::readScansCommand({"--read-scans", png, "--out", out}), 0);

    QFile table(out + QStringLiteral("/scans.csv"));
    QVERIFY(table.open(QIODevice::ReadOnly));
    QString answers;
    for (const QChar c : page.expected)
        answers += c;
    const QByteArray expected = "\xEF\xBB\xBF" "Файл;Страница;Пол;Возраст;Ответы;Сомнительных;Состояние\r\n"
                                + png.toUtf8() + ";1;" + (page.sex == u'm' ? "Мужской" : "Женский") + ";"
                                + QByteArray::number(page.age) + ";" + answers.toUtf8() + ";0;прочитан\r\n";
    QCOMPARE(table.readAll(), expected);

    table.seek(0);
    QString fault;
    const QList<zorven::scan::ScannedPage> back = zorven::scan::scannedPagesOf(table.readAll(), fault);
    QCOMPARE(back.size(), 1);
    QCOMPARE(zorven::scan::answersOf(back.front()), answers);

    Conditions doubtful = clean;
    doubtful.twoMarks = 0.05;
    QVERIFY(generatedPage(doubtful).image.save(png));
    QCOMPARE(zorven::scan::readScansCommand({"--read-scans", png, "--out", out}), 1);
}

// Rows 1 and 2 of a list of two; pages with row 1, row 2 twice, row 3 and no row.
void TestScanReader::aGroupSheetIsNamedOnlyByARowOfItsOwn()
{
    const zorven::GroupList list =
        zorven::groupListOf("Фамилия;Пол;Возраст\nПетрова А.В.;Женский;20\nСидоров П.П.;Мужской;34\n");
    QList<zorven::scan::ScannedPage> pages;
    for (const int row : {1, 2, 2, 3, 0}) {
        zorven::scan::ScannedPage page;
        page.file = QStringLiteral("scans.pdf");
        page.page = int(pages.size()) + 1;
        page.groupRow = row;
        pages << page;
    }
    zorven::scan::nameByList(pages, list);
    QStringList named;
    for (const zorven::scan::ScannedPage &page : pages)
        named << page.surname + u'|' + zorven::scan::sexTextOf(page) + u'|' + zorven::scan::ageTextOf(page) + u'|'
                     + page.groupProblem.section(u';', 0, 0);
    QCOMPARE(named, QStringList({
        QStringLiteral("Петрова А.В.|Женский|20|"),
        QStringLiteral("|?|?|строка 2 списка (Сидоров П.П.) на нескольких страницах: scans.pdf, стр. 2 и scans.pdf, стр. 3"),
        QStringLiteral("|?|?|строка 2 списка (Сидоров П.П.) на нескольких страницах: scans.pdf, стр. 2 и scans.pdf, стр. 3"),
        QStringLiteral("|?|?|строки 3 нет в списке из 2 строк"),
        QStringLiteral("|?|?|строка списка на бланке не найдена: бланк не из списка или его код не прочитан"),
    }));
}

Q_DECLARE_METATYPE(sheet_generator::Conditions)

QTEST_MAIN(TestScanReader)
#include "tst_scan_reader.moc"
