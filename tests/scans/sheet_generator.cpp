#include "sheet_generator.h"

#include "paper/answer_sheet.h"
#include "paper/answer_sheet_geometry.h"

#include <QBuffer>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <opencv2/imgproc.hpp>

#include <random>

namespace sheet_generator {

namespace {

namespace sheet = zorven::answer_sheet;

using Random = std::mt19937;

double uniform(Random &random, double from, double to)
{
    return std::uniform_real_distribution<double>(from, to)(random);
}

bool chance(Random &random, double share)
{
    return uniform(random, 0, 1) < share;
}

// The printed sheet at `dpi`, drawn once per resolution and row.
QImage printedSheet(int dpi, int groupRow)
{
    static QHash<qint64, QImage> drawn;
    const qint64 key = qint64(dpi) * 100000 + groupRow;
    if (!drawn.contains(key)) {
        const double dotsPerMm = dpi / 25.4;
        QImage image(int(sheet::kSheetWidth * dotsPerMm), int(sheet::kSheetHeight * dotsPerMm), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(dotsPerMm / zorven::kUnitsPerMm, dotsPerMm / zorven::kUnitsPerMm);
        const zorven::GroupSheetRow row{groupRow, QStringLiteral("Петрова А.В."), zorven::Sex::Female, 20};
        const zorven::PaperDocument document =
            groupRow > 0 ? zorven::groupAnswerSheetsDocument({row}) : zorven::answerSheetDocument();
        document.drawPage(painter, 0);
        painter.end();
        drawn.insert(key, image);
    }
    return drawn.value(key);
}

QColor inkOf(Pen pen)
{
    switch (pen) {
    case Pen::Ballpoint:
        return QColor(25, 25, 40);
    case Pen::BlueBallpoint:
        return QColor(30, 50, 175);
    case Pen::Pencil:
        return QColor(95, 95, 100);
    case Pen::LightPencil:
        return QColor(160, 160, 165);
    case Pen::FeltPen:
        return QColor(10, 10, 15);
    }
    return Qt::black;
}

double widthOf(Pen pen, Random &random)
{
    return pen == Pen::FeltPen ? uniform(random, 0.7, 1.0) : uniform(random, 0.4, 0.6);
}

// The ink faded toward the paper: an erased mark's residue, or a mark made too lightly.
QColor faded(const QColor &ink, const QColor &paper, double strength)
{
    const auto mix = [strength](int i, int p) { return int(p + strength * (i - p)); };
    return QColor(mix(ink.red(), paper.red()), mix(ink.green(), paper.green()), mix(ink.blue(), paper.blue()));
}

void drawMark(QPainter &painter, Style style, const QRectF &box, const QColor &ink, double width, Random &random)
{
    painter.setPen(QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    const auto jitter = [&random](double from, double to) { return uniform(random, from, to); };
    switch (style) {
    case Style::Cross: {
        const double in = jitter(-0.3, 0.7);
        painter.drawLine(QPointF(box.left() + in + jitter(-0.2, 0.2), box.top() + in + jitter(-0.2, 0.2)),
                         QPointF(box.right() - in + jitter(-0.2, 0.2), box.bottom() - in + jitter(-0.2, 0.2)));
        painter.drawLine(QPointF(box.right() - in + jitter(-0.2, 0.2), box.top() + in + jitter(-0.2, 0.2)),
                         QPointF(box.left() + in + jitter(-0.2, 0.2), box.bottom() - in + jitter(-0.2, 0.2)));
        break;
    }
    case Style::Tick: {
        QPainterPath tick(QPointF(box.left() + jitter(0.5, 1.0), box.center().y() + jitter(-0.3, 0.3)));
        tick.lineTo(box.center().x() - jitter(0, 0.5), box.bottom() - jitter(0.4, 0.9));
        tick.lineTo(box.right() + jitter(-0.4, 0.5), box.top() + jitter(-0.5, 0.6));
        painter.drawPath(tick);
        break;
    }
    case Style::Fill: {
        painter.setBrush(ink);
        painter.drawRect(box.adjusted(jitter(0.2, 0.5), jitter(0.2, 0.5), -jitter(0.2, 0.5), -jitter(0.2, 0.5)));
        break;
    }
    case Style::Circle: {
        const double r = jitter(1.4, 1.9);
        painter.drawEllipse(box.center() + QPointF(jitter(-0.2, 0.2), jitter(-0.2, 0.2)), r, r * jitter(0.85, 1.0));
        break;
    }
    }
}

// The statements' truths, drawn at the shares the conditions give.
Truth drawnTruth(const Conditions &c, Random &random)
{
    const double roll = uniform(random, 0, 1);
    double edge = c.blanks;
    if (roll < edge)
        return Truth::Blank;
    if (roll < (edge += c.twoMarks))
        return Truth::TwoMarks;
    if (roll < (edge += c.corrections))
        return Truth::Correction;
    if (roll < (edge += c.erasures))
        return Truth::Erasure;
    if (roll < (edge += c.tooLight))
        return Truth::TooLight;
    return Truth::Clear;
}

// Marks one group of boxes as `truth` says, `chosen` being the answer meant; gives what a
// careful person reads.
QChar markGroup(QPainter &painter, const std::vector<QRectF> &boxes, int chosen, Truth truth,
                const std::vector<QChar> &readings, const Conditions &c, const QColor &paper, Random &random)
{
    const QColor ink = inkOf(c.pen);
    const int other = (chosen + 1 + int(uniform(random, 0, double(boxes.size()) - 1.001))) % int(boxes.size());
    const auto mark = [&](int box, Style style, const QColor &colour) {
        drawMark(painter, style, boxes[std::size_t(box)], colour, widthOf(c.pen, random), random);
    };
    switch (truth) {
    case Truth::Clear:
        mark(chosen, c.style, ink);
        return readings[std::size_t(chosen)];
    case Truth::Blank:
        return u'-';
    case Truth::TwoMarks:
        mark(chosen, c.style, ink);
        mark(other, c.style, ink);
        return u'?';
    case Truth::Correction:
        mark(other, Style::Fill, ink);
        mark(chosen, c.style == Style::Fill ? Style::Cross : c.style, ink);
        return c.style == Style::Fill ? u'?' : readings[std::size_t(chosen)];
    case Truth::Erasure:
        mark(other, c.style, faded(ink, paper, uniform(random, 0.25, 0.45)));
        mark(chosen, c.style, ink);
        return u'?';
    case Truth::TooLight:
        mark(chosen, c.style, faded(ink, paper, uniform(random, 0.2, 0.35)));
        return u'?';
    }
    return u'?';
}

void strayDot(QPainter &painter, const QRectF &cell, const QColor &ink, Random &random)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    const double r = uniform(random, 0.1, 0.25);
    painter.drawEllipse(QPointF(uniform(random, cell.left(), cell.right()), uniform(random, cell.top(), cell.bottom())),
                        r, r);
}

cv::Mat matOf(QImage &image)
{
    return cv::Mat(image.height(), image.width(), CV_8UC4, image.bits(), std::size_t(image.bytesPerLine()));
}

// Where the scanner put the page: turned, scaled, shifted and slanted a little.
void scanGeometry(cv::Mat &page, const Conditions &c, const cv::Scalar &background)
{
    const double dotsPerMm = c.dpi / 25.4;
    const cv::Point2f centre(page.cols / 2.0f, page.rows / 2.0f);
    cv::Mat rotation = cv::getRotationMatrix2D(centre, c.rotationDegrees, c.scale);
    rotation.at<double>(0, 2) += c.shiftMm * dotsPerMm;
    rotation.at<double>(1, 2) -= c.shiftMm * dotsPerMm * 0.7;
    cv::Mat map = cv::Mat::eye(3, 3, CV_64F);
    rotation.copyTo(map.rowRange(0, 2));
    const float w = float(page.cols), h = float(page.rows), d = float(c.perspective * page.cols);
    const cv::Point2f from[4] = {{0, 0}, {w, 0}, {0, h}, {w, h}};
    const cv::Point2f to[4] = {{d, 0}, {w - d, d}, {0, h - d}, {w, h}};
    const cv::Mat slant = cv::getPerspectiveTransform(from, to);
    cv::Mat scanned;
    cv::warpPerspective(page, scanned, slant * map, page.size(), cv::INTER_LINEAR, cv::BORDER_CONSTANT, background);
    page = scanned;
}

void foldCorner(cv::Mat &page, int corner, double legMm, const Conditions &c)
{
    const double dotsPerMm = c.dpi / 25.4;
    const int leg = int(legMm * dotsPerMm);
    const int x = corner % 2 == 0 ? 0 : page.cols - 1;
    const int y = corner / 2 == 0 ? 0 : page.rows - 1;
    const int sx = corner % 2 == 0 ? 1 : -1;
    const int sy = corner / 2 == 0 ? 1 : -1;
    const std::vector<cv::Point> triangle = {{x, y}, {x + sx * leg, y}, {x, y + sy * leg}};
    cv::fillConvexPoly(page, triangle, cv::Scalar(232, 232, 232, 255), cv::LINE_AA);
    cv::line(page, triangle[1], triangle[2], cv::Scalar(150, 150, 150, 255), 2, cv::LINE_AA);
}

void unevenLight(cv::Mat &page, double strength)
{
    for (int y = 0; y < page.rows; ++y) {
        uchar *row = page.ptr<uchar>(y);
        for (int x = 0; x < page.cols; ++x) {
            const double light = 1 - strength * (double(x) / page.cols) * (0.5 + 0.5 * double(y) / page.rows);
            for (int k = 0; k < 3; ++k)
                row[4 * x + k] = uchar(row[4 * x + k] * light);
        }
    }
}

} // namespace

Page generatedPage(const Conditions &c)
{
    Random random(c.seed);
    QImage image = printedSheet(c.dpi, c.groupRow).copy();
    const QColor paper = c.colour ? QColor(250, 244, 222) : QColor(255, 255, 255);
    if (c.colour) {
        // Tinted paper: white becomes the tint, the print stays.
        for (int y = 0; y < image.height(); ++y) {
            QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                row[x] = qRgb(qRed(row[x]) * paper.red() / 255, qGreen(row[x]) * paper.green() / 255,
                              qBlue(row[x]) * paper.blue() / 255);
        }
    }
    Page page;
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const double dotsPerMm = c.dpi / 25.4;
        painter.scale(dotsPerMm, dotsPerMm);
        const std::vector<QChar> letters = {u'a', u'b', u'c'};
        for (int q = 1; q <= zorven::kStatementCount; ++q) {
            const Truth truth = drawnTruth(c, random);
            const int chosen = int(uniform(random, 0, 2.999));
            const std::vector<QRectF> boxes = {sheet::boxRect(q, 1), sheet::boxRect(q, 2), sheet::boxRect(q, 3)};
            page.truth[std::size_t(q - 1)] = truth;
            page.expected[std::size_t(q - 1)] = markGroup(painter, boxes, chosen, truth, letters, c, paper, random);
            if (chance(random, c.strayDots))
                strayDot(painter, sheet::cellRect(q).adjusted(-1, -1, 1, 1), inkOf(c.pen), random);
        }
        const int sex = chance(random, 0.5) ? 1 : 0;
        page.sex = sex == 0 ? u'm' : u'f';
        markGroup(painter, {sheet::sexBoxRect(0), sheet::sexBoxRect(1)}, sex, Truth::Clear, {u'm', u'f'}, c, paper,
                  random);
        page.age = int(uniform(random, 16, 55.999));
        std::vector<QRectF> tens, units;
        std::vector<QChar> tensDigits, unitsDigits;
        for (int d = 1; d <= sheet::kTensDigits; ++d) {
            tens.push_back(sheet::ageTensBoxRect(d));
            tensDigits.push_back(QChar(u'0' + d));
        }
        for (int d = 0; d < sheet::kUnitsDigits; ++d) {
            units.push_back(sheet::ageUnitsBoxRect(d));
            unitsDigits.push_back(QChar(u'0' + d));
        }
        markGroup(painter, tens, page.age / 10 - 1, Truth::Clear, tensDigits, c, paper, random);
        markGroup(painter, units, page.age % 10, Truth::Clear, unitsDigits, c, paper, random);
    }

    cv::Mat scan = matOf(image).clone();
    const cv::Scalar background(paper.blue(), paper.green(), paper.red(), 255);
    if (c.foldedCorner >= 0)
        foldCorner(scan, c.foldedCorner, uniform(random, 20, 28), c);
    if (c.upsideDown)
        cv::rotate(scan, scan, cv::ROTATE_180);
    scanGeometry(scan, c, background);
    if (c.unevenLight > 0)
        unevenLight(scan, c.unevenLight);
    if (c.blurSigma > 0)
        cv::GaussianBlur(scan, scan, cv::Size(), c.blurSigma);
    if (c.noiseSigma > 0) {
        cv::Mat noise(scan.size(), CV_16SC4);
        cv::randn(noise, 0, c.noiseSigma);
        cv::Mat wide;
        scan.convertTo(wide, CV_16SC4);
        wide += noise;
        wide.convertTo(scan, CV_8UC4);
    }
    QImage scanned(scan.data, scan.cols, scan.rows, int(scan.step), QImage::Format_RGB32);
    scanned = scanned.convertToFormat(c.colour ? QImage::Format_RGB32 : QImage::Format_Grayscale8);
    QBuffer buffer(&page.file);
    buffer.open(QIODevice::WriteOnly);
    scanned.save(&buffer, c.jpegQuality > 0 ? "JPG" : "PNG", c.jpegQuality > 0 ? c.jpegQuality : -1);
    page.image = QImage::fromData(page.file);
    return page;
}

Conditions randomConditions(std::uint32_t seed, int dpi)
{
    Random random(seed * 7919u + 13u);
    Conditions c;
    c.seed = seed;
    c.dpi = dpi;
    c.style = Style(int(uniform(random, 0, 3.999)));
    c.pen = Pen(int(uniform(random, 0, 4.999)));
    c.colour = c.pen == Pen::BlueBallpoint || chance(random, 0.2);
    c.rotationDegrees = uniform(random, -5, 5);
    c.scale = uniform(random, 0.97, 1.03);
    c.shiftMm = uniform(random, -3, 3);
    c.perspective = uniform(random, 0, 0.004);
    c.blurSigma = uniform(random, 0, 1.2);
    c.noiseSigma = uniform(random, 0, 8);
    c.jpegQuality = chance(random, 0.8) ? int(uniform(random, 50, 95)) : 0;
    c.unevenLight = chance(random, 0.4) ? uniform(random, 0.05, 0.3) : 0;
    c.foldedCorner = chance(random, 0.2) ? int(uniform(random, 0, 3.999)) : -1;
    c.upsideDown = chance(random, 0.2);
    return c;
}

QString nameOf(Style style)
{
    static const char *names[] = {"крестики", "галочки", "закрашивание", "кружки"};
    return QString::fromUtf8(names[int(style)]);
}

QString nameOf(Pen pen)
{
    static const char *names[] = {"шариковая", "синяя шариковая", "карандаш", "светлый карандаш", "фломастер"};
    return QString::fromUtf8(names[int(pen)]);
}

} // namespace sheet_generator
