#include "scan/page_reader.h"

#include "scan/page_finder.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <numeric>
#include <vector>

namespace zorven::scan {

namespace {

namespace sheet = answer_sheet;

// How far from where the fitted map puts a box its printed outline is looked for.
constexpr double kSearchMm = 1.5;
// The outline's line, and how far inside the outer edge the ink of a mark is measured:
// clear of the line and of the blur around it.
constexpr double kOutlineMm = 0.25;
constexpr double kInsideMm = 0.5;
// A box whose own outline lies further than this from the fitted map is placed by the map.
constexpr double kLocalTrustMm = 0.5;
// The fitted map must put the outlines found within this of where they are, on average.
constexpr double kMostFitErrorMm = 0.5;
// A page needs this many answer cells found by their outlines to be read at all.
constexpr int kFewestCellsFound = 60;

// Darkness (0 paper .. 1 printed ink, above what the empty box shows) below which a box is
// surely empty, whatever the sheet: scanner noise and the light printed letter stay under it.
constexpr double kLeastEmptyThreshold = 0.016;
// An empty box reads darker than the typical empty box by more than this many times the
// scanner's noise hardly ever.
constexpr double kNoiseMultiple = 6;
// The thresholds of a sheet, as shares of its typical mark's darkness: below the first a
// box is empty, from the second on it is marked, between them a person must look.
constexpr double kEmptyShare = 0.12;
constexpr double kMarkedShare = 0.45;
// With no marks to learn from, a ballpoint cross's darkness.
constexpr double kUsualMark = 0.3;
// A box is filled whole when even its lightest tenth is this share as dark as its darkest
// tenth: a cross, however wide its pen, leaves white between its strokes.
constexpr double kFilledEvenness = 0.45;

// One thing marked on the sheet: its boxes in millimetres, moved together onto the print.
struct Unit {
    std::vector<QRectF> boxes;
    QRectF span() const
    {
        QRectF all = boxes.front();
        for (const QRectF &box : boxes)
            all = all.united(box);
        return all;
    }
};

struct Offset {
    cv::Point2d pixels;
    bool found = false;
};

int px(double mm)
{
    return int(std::lround(mm * kPixelsPerMm));
}

// The shift (in pixels) along one axis that lays the outline's edges on the darkest lines of
// `profile`, whose index 0 is `search` pixels before the nominal place; and whether the
// lines found stand out from the paper.
std::pair<int, bool> bestShift(const std::vector<double> &profile, const std::vector<int> &edges, int search,
                               double lineStrength)
{
    const int line = std::max(1, px(kOutlineMm));
    std::vector<double> scores;
    for (int d = -search; d <= search; ++d) {
        double score = 0;
        for (int edge : edges)
            for (int t = 0; t < line + 1; ++t) {
                const int at = search + d + edge + t;
                if (at >= 0 && at < int(profile.size()))
                    score += profile[std::size_t(at)];
            }
        scores.push_back(score);
    }
    const auto best = std::max_element(scores.begin(), scores.end());
    std::vector<double> sorted = scores;
    std::nth_element(sorted.begin(), sorted.begin() + long(sorted.size() / 2), sorted.end());
    const double typical = sorted[sorted.size() / 2];
    const bool standsOut = *best - typical >= 0.2 * double(edges.size()) * line * lineStrength;
    return {int(best - scores.begin()) - search, standsOut};
}

// The outline of `unit`, looked for around `at` (its nominal top-left in pixels) in the
// darkness image: columns first, then rows, then columns again once the rows are known.
Offset outlineOffset(const cv::Mat &ink, const Unit &unit, cv::Point2d at, double contrast)
{
    const QRectF span = unit.span();
    const int search = px(kSearchMm);
    std::vector<int> verticalEdges, horizontalEdges;
    for (const QRectF &box : unit.boxes) {
        verticalEdges.push_back(px(box.left() - span.left()));
        verticalEdges.push_back(px(box.right() - span.left() - kOutlineMm) - 1);
    }
    horizontalEdges = {0, px(span.height() - kOutlineMm) - 1};

    int dx = 0, dy = 0;
    bool xFound = false, yFound = false;
    const cv::Rect page(0, 0, ink.cols, ink.rows);
    for (int pass = 0; pass < 3; ++pass) {
        const bool columns = pass != 1;
        const int left = int(at.x) + (columns ? -search : dx);
        const int top = int(at.y) + (columns ? dy : -search);
        const int width = px(span.width()) + (columns ? 2 * search : 0);
        const int height = px(span.height()) + (columns ? 0 : 2 * search);
        // Columns are summed over the middle of the boxes' height, rows over their width.
        const cv::Rect band = columns ? cv::Rect(left, top + px(1), width, std::max(1, height - px(2)))
                                      : cv::Rect(left, top, width, height);
        if ((band & page) != band)
            return {};
        cv::Mat sums;
        cv::reduce(ink(band), sums, columns ? 0 : 1, cv::REDUCE_SUM, CV_64F);
        const std::vector<double> profile(sums.begin<double>(), sums.end<double>());
        const double strength = contrast * (columns ? band.height : band.width * 0.8);
        const auto [shift, found] =
            bestShift(profile, columns ? verticalEdges : horizontalEdges, search, strength);
        (columns ? dx : dy) = shift;
        (columns ? xFound : yFound) = found;
    }
    return {cv::Point2d(dx, dy), xFound && yFound};
}

// Least squares homography from millimetres to pixels through matched points, h33 = 1.
cv::Matx33d fittedMap(const std::vector<cv::Point2d> &mm, const std::vector<cv::Point2d> &pixels)
{
    const int n = int(mm.size());
    cv::Mat a(2 * n, 8, CV_64F), b(2 * n, 1, CV_64F);
    for (int i = 0; i < n; ++i) {
        const double x = mm[std::size_t(i)].x, y = mm[std::size_t(i)].y;
        const double u = pixels[std::size_t(i)].x, v = pixels[std::size_t(i)].y;
        const double rowU[8] = {x, y, 1, 0, 0, 0, -u * x, -u * y};
        const double rowV[8] = {0, 0, 0, x, y, 1, -v * x, -v * y};
        std::copy(rowU, rowU + 8, a.ptr<double>(2 * i));
        std::copy(rowV, rowV + 8, a.ptr<double>(2 * i + 1));
        b.at<double>(2 * i) = u;
        b.at<double>(2 * i + 1) = v;
    }
    cv::Mat h;
    cv::solve(a, b, h, cv::DECOMP_SVD);
    return {h.at<double>(0), h.at<double>(1), h.at<double>(2), h.at<double>(3), h.at<double>(4),
            h.at<double>(5), h.at<double>(6), h.at<double>(7), 1};
}

cv::Point2d apply(const cv::Matx33d &map, const QPointF &mm)
{
    const cv::Vec3d v = map * cv::Vec3d(mm.x(), mm.y(), 1);
    return {v[0] / v[2], v[1] / v[2]};
}

struct Placement {
    cv::Matx33d map = cv::Matx33d::eye();
    double errorMm = 0;
    std::vector<cv::Point2d> statementOffsets; // per statement, in pixels, from nominal
    int found = 0;
};

Unit statementUnit(int q)
{
    return {{sheet::boxRect(q, 1), sheet::boxRect(q, 2), sheet::boxRect(q, 3)}};
}

cv::Point2d nominal(const QRectF &mm)
{
    return {mm.left() * kPixelsPerMm, mm.top() * kPixelsPerMm};
}

// Fits the map to every cell whose outline was found, drops cells that disagree with the
// rest, and fits again.
Placement placeCells(const cv::Mat &ink, double contrast)
{
    Placement placement;
    std::vector<Offset> offsets;
    for (int q = 1; q <= kStatementCount; ++q) {
        const Unit unit = statementUnit(q);
        offsets.push_back(outlineOffset(ink, unit, nominal(unit.span()), contrast));
    }
    std::vector<int> used;
    for (int q = 0; q < kStatementCount; ++q)
        if (offsets[std::size_t(q)].found)
            used.push_back(q);
    for (int round = 0; round < 3 && int(used.size()) >= kFewestCellsFound; ++round) {
        std::vector<cv::Point2d> mm, pixels;
        for (int q : used) {
            const QRectF span = statementUnit(q + 1).span();
            mm.emplace_back(span.left(), span.top());
            pixels.push_back(nominal(span) + offsets[std::size_t(q)].pixels);
        }
        placement.map = fittedMap(mm, pixels);
        std::vector<double> residuals;
        double squares = 0;
        for (std::size_t i = 0; i < used.size(); ++i) {
            const double r = cv::norm(apply(placement.map, {mm[i].x, mm[i].y}) - pixels[i]) / kPixelsPerMm;
            residuals.push_back(r);
            squares += r * r;
        }
        placement.errorMm = std::sqrt(squares / double(used.size()));
        std::vector<double> sorted = residuals;
        std::nth_element(sorted.begin(), sorted.begin() + long(sorted.size() / 2), sorted.end());
        const double keep = std::max(3 * sorted[sorted.size() / 2], 0.25);
        std::vector<int> kept;
        for (std::size_t i = 0; i < used.size(); ++i)
            if (residuals[i] <= keep)
                kept.push_back(used[i]);
        if (kept.size() == used.size())
            break;
        used = kept;
    }
    placement.found = int(used.size());
    for (int q = 1; q <= kStatementCount; ++q) {
        const QRectF span = statementUnit(q).span();
        const cv::Point2d fitted = apply(placement.map, span.topLeft()) - nominal(span);
        const Offset &own = offsets[std::size_t(q - 1)];
        const bool trusted = own.found && cv::norm(own.pixels - fitted) <= kLocalTrustMm * kPixelsPerMm;
        placement.statementOffsets.push_back(trusted ? own.pixels : fitted);
    }
    return placement;
}

// A header unit (sex, a row of age digits) placed by its outline near where the map puts it.
cv::Point2d headerOffset(const cv::Mat &ink, const Unit &unit, const Placement &placement, double contrast)
{
    const QRectF span = unit.span();
    const cv::Point2d fitted = apply(placement.map, span.topLeft()) - nominal(span);
    const Offset own = outlineOffset(ink, unit, nominal(span) + fitted, contrast);
    return own.found ? fitted + own.pixels : fitted;
}

// The paper's own brightness around each millimetre, so that uneven light does not read
// as ink: the brightest of the paper within a few millimetres.
cv::Mat paperLevels(const cv::Mat &upright)
{
    cv::Mat small, paper;
    cv::resize(upright, small, cv::Size(int(sheet::kSheetWidth), int(sheet::kSheetHeight)), 0, 0, cv::INTER_AREA);
    cv::dilate(small, paper, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(7, 7)));
    return paper;
}

struct BoxInk {
    double level = 0;    // mean darkness inside the box, 0 paper .. 1 printed ink
    bool filled = false; // dark all over, not only along strokes
};

BoxInk measured(const cv::Mat &upright, const cv::Mat &paper, const QRectF &boxPixels, double inkLevel)
{
    const int inset = px(kInsideMm);
    const cv::Rect inside(int(boxPixels.left()) + inset, int(boxPixels.top()) + inset,
                          int(boxPixels.width()) - 2 * inset, int(boxPixels.height()) - 2 * inset);
    const cv::Point centre(std::clamp(int(boxPixels.center().x() / kPixelsPerMm), 0, paper.cols - 1),
                           std::clamp(int(boxPixels.center().y() / kPixelsPerMm), 0, paper.rows - 1));
    const double white = paper.at<uchar>(centre);
    const double range = std::max(20.0, white - inkLevel);
    std::vector<double> darkness;
    darkness.reserve(std::size_t(inside.area()));
    for (int y = inside.y; y < inside.y + inside.height; ++y) {
        const uchar *row = upright.ptr<uchar>(y);
        for (int x = inside.x; x < inside.x + inside.width; ++x)
            darkness.push_back(std::clamp((white - row[x]) / range, 0.0, 1.0));
    }
    BoxInk box;
    box.level = std::accumulate(darkness.begin(), darkness.end(), 0.0) / double(darkness.size());
    auto darkTenth = darkness.begin() + long(darkness.size() * 9 / 10);
    std::nth_element(darkness.begin(), darkTenth, darkness.end());
    const double darkest = *darkTenth;
    auto lightTenth = darkness.begin() + long(darkness.size() / 10);
    std::nth_element(darkness.begin(), lightTenth, darkTenth);
    box.filled = darkest > 0.1 && *lightTenth >= kFilledEvenness * darkest;
    return box;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    auto middle = values.begin() + long(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// What the sheet's own marks say about reading it.
struct SheetThresholds {
    double empty = kLeastEmptyThreshold;
    double marked = kUsualMark * kMarkedShare;
    // The respondent answered by filling boxes, not by crosses: a box filled whole is then
    // an answer, not a correction.
    bool answersByFilling = false;
};

struct MeasuredGroup {
    std::vector<QRectF> boxes;
    std::vector<BoxInk> ink;
};

SheetThresholds thresholdsOf(const std::vector<MeasuredGroup> &statements)
{
    // The scanner's noise, from the empty boxes: half of them read lighter than the typical
    // empty box, by about as much as the other half reads darker.
    std::vector<double> lighter, crosses, fills;
    for (const MeasuredGroup &group : statements)
        for (const BoxInk &box : group.ink)
            if (box.level < 0)
                lighter.push_back(-box.level);
    const double noise = 1.4826 * median(lighter);
    const double floor = std::max(kLeastEmptyThreshold, kNoiseMultiple * noise);
    for (const MeasuredGroup &group : statements)
        for (const BoxInk &box : group.ink)
            if (box.level >= std::max(3 * floor, 0.08))
                (box.filled ? fills : crosses).push_back(box.level);

    SheetThresholds thresholds;
    thresholds.answersByFilling = fills.size() > crosses.size();
    const std::vector<double> &marks = thresholds.answersByFilling ? fills : crosses;
    const double typical = marks.size() >= 5 ? median(marks) : kUsualMark;
    thresholds.empty = std::max(floor, kEmptyShare * typical);
    thresholds.marked = std::max(2 * thresholds.empty, kMarkedShare * typical);
    return thresholds;
}

QString quotedLabels(const std::vector<QString> &labels, const std::vector<int> &which)
{
    QStringList quoted;
    for (int i : which)
        quoted << QStringLiteral("«%1»").arg(labels[std::size_t(i)]);
    return quoted.join(QStringLiteral(" и "));
}

// Reads one group of boxes by the sheet's thresholds and its rule for corrections: a box
// filled whole beside a marked one is the wrong answer, and the marked one stands.
MarkGroup decided(const MeasuredGroup &group, const SheetThresholds &thresholds, const std::vector<QChar> &readings,
                  const std::vector<QString> &labels)
{
    MarkGroup mark;
    std::vector<int> faint, marked, filled, crossed;
    for (std::size_t i = 0; i < group.ink.size(); ++i) {
        const BoxInk &box = group.ink[i];
        mark.boxes << group.boxes[i];
        mark.darkness << std::max(0.0, box.level);
        if (box.level >= thresholds.marked) {
            marked.push_back(int(i));
            (box.filled ? filled : crossed).push_back(int(i));
        } else if (box.level >= thresholds.empty) {
            faint.push_back(int(i));
        }
    }
    const auto doubtful = [&mark](const QString &why) {
        mark.reading = u'?';
        mark.why = why;
        return mark;
    };
    if (!faint.empty())
        return doubtful(marked.empty()
                            ? QStringLiteral("слишком слабая или стёртая отметка: %1").arg(quotedLabels(labels, faint))
                            : QStringLiteral("отметка %1 и рядом слабая или стёртая: %2")
                                  .arg(quotedLabels(labels, marked), quotedLabels(labels, faint)));
    if (marked.empty()) {
        mark.reading = u'-';
        return mark;
    }
    if (marked.size() == 1 && (crossed.size() == 1 || thresholds.answersByFilling)) {
        mark.reading = readings[std::size_t(marked.front())];
        return mark;
    }
    if (thresholds.answersByFilling)
        return doubtful(QStringLiteral("отмечено несколько: %1; на этом бланке отвечали закрашиванием, "
                                       "исправление не отличить от ответа")
                            .arg(quotedLabels(labels, marked)));
    if (crossed.empty())
        return doubtful(QStringLiteral("закрашено целиком %1: по правилу бланка это исправление, "
                                       "а нужный ответ не отмечен")
                            .arg(quotedLabels(labels, filled)));
    if (crossed.size() == 1) {
        mark.reading = readings[std::size_t(crossed.front())];
        return mark;
    }
    return doubtful(QStringLiteral("отмечено несколько: %1").arg(quotedLabels(labels, crossed)));
}

QRectF placed(const QRectF &mm, cv::Point2d offset)
{
    return QRectF(mm.left() * kPixelsPerMm + offset.x, mm.top() * kPixelsPerMm + offset.y,
                  mm.width() * kPixelsPerMm, mm.height() * kPixelsPerMm);
}

MeasuredGroup measuredGroup(const cv::Mat &upright, const cv::Mat &paper, const Unit &unit, cv::Point2d offset,
                            double inkLevel)
{
    MeasuredGroup group;
    for (const QRectF &box : unit.boxes) {
        group.boxes.push_back(placed(box, offset));
        group.ink.push_back(measured(upright, paper, group.boxes.back(), inkLevel));
    }
    return group;
}

// Takes off each box what the empty printed box shows there: the median of the boxes
// with the same printed letter, most of which are empty.
void subtractEmptyBoxes(std::vector<MeasuredGroup> &statements, std::vector<MeasuredGroup> &header)
{
    std::vector<double> emptyLevel;
    for (std::size_t option = 0; option < 3; ++option) {
        std::vector<double> levels;
        for (const MeasuredGroup &group : statements)
            levels.push_back(group.ink[option].level);
        emptyLevel.push_back(median(levels));
    }
    for (MeasuredGroup &group : statements)
        for (std::size_t option = 0; option < 3; ++option)
            group.ink[option].level -= emptyLevel[option];
    const double anyLetter = median(emptyLevel);
    for (MeasuredGroup &group : header)
        for (BoxInk &box : group.ink)
            box.level -= anyLetter;
}

QImage imageOf(const cv::Mat &upright)
{
    QImage image(upright.cols, upright.rows, QImage::Format_Grayscale8);
    for (int y = 0; y < upright.rows; ++y)
        std::copy(upright.ptr<uchar>(y), upright.ptr<uchar>(y) + upright.cols, image.scanLine(y));
    return image;
}

QRectF pixelsOfMm(const QRectF &mm)
{
    return QRectF(mm.topLeft() * kPixelsPerMm, mm.size() * kPixelsPerMm);
}

Unit sexUnit(int sex)
{
    return {{sheet::sexBoxRect(sex)}};
}

Unit tensUnit()
{
    Unit unit;
    for (int digit = sheet::kFirstTensDigit; digit < sheet::kFirstTensDigit + sheet::kTensDigits; ++digit)
        unit.boxes.push_back(sheet::ageTensBoxRect(digit));
    return unit;
}

Unit unitsUnit()
{
    Unit unit;
    for (int digit = 0; digit < sheet::kUnitsDigits; ++digit)
        unit.boxes.push_back(sheet::ageUnitsBoxRect(digit));
    return unit;
}

std::vector<QChar> digits(int first, int count)
{
    std::vector<QChar> readings;
    for (int digit = first; digit < first + count; ++digit)
        readings.push_back(QChar(u'0' + digit));
    return readings;
}

std::vector<QString> labelsOf(const std::vector<QChar> &readings)
{
    std::vector<QString> labels;
    for (QChar c : readings)
        labels.emplace_back(c);
    return labels;
}

} // namespace

ScannedPage readPage(const QImage &scan)
{
    ScannedPage page;
    if (scan.isNull()) {
        page.failure = QStringLiteral("изображение не прочитано");
        return page;
    }
    const QImage grey = scan.convertToFormat(QImage::Format_Grayscale8);
    const cv::Mat greyMat(grey.height(), grey.width(), CV_8UC1, const_cast<uchar *>(grey.constBits()),
                          std::size_t(grey.bytesPerLine()));
    FoundPage found = findPage(greyMat);
    if (!found.failure.isEmpty()) {
        page.failure = found.failure;
        return page;
    }
    if (found.codeRead && found.code.layout != sheet::kLayoutVersion) {
        page.failure = QStringLiteral("бланк другой разметки (версия %1, а читается версия %2)")
                           .arg(found.code.layout).arg(sheet::kLayoutVersion);
        return page;
    }

    cv::Mat ink;
    cv::subtract(cv::Scalar(255), found.upright, ink);
    const cv::Mat paper = paperLevels(found.upright);
    const double contrast = std::max(40.0, median({double(paper.at<uchar>(paper.rows / 2, paper.cols / 2)),
                                                   double(paper.at<uchar>(paper.rows / 4, paper.cols / 4)),
                                                   double(paper.at<uchar>(3 * paper.rows / 4, 3 * paper.cols / 4))})
                                                - found.inkLevel);
    const Placement placement = placeCells(ink, contrast);
    if (placement.found < kFewestCellsFound) {
        page.failure = QStringLiteral("не найдены клетки ответов (найдено %1 из %2)")
                           .arg(placement.found).arg(kStatementCount);
        return page;
    }
    if (placement.errorMm > kMostFitErrorMm) {
        page.failure = QStringLiteral("клетки не совпадают с бланком: ошибка %1 мм").arg(placement.errorMm, 0, 'f', 2);
        return page;
    }

    std::vector<MeasuredGroup> statements;
    for (int q = 1; q <= kStatementCount; ++q)
        statements.push_back(measuredGroup(found.upright, paper, statementUnit(q),
                                           placement.statementOffsets[std::size_t(q - 1)], found.inkLevel));
    const std::vector<Unit> headerUnits = {sexUnit(0), sexUnit(1), tensUnit(), unitsUnit()};
    std::vector<MeasuredGroup> header;
    for (const Unit &unit : headerUnits)
        header.push_back(measuredGroup(found.upright, paper, unit, headerOffset(ink, unit, placement, contrast),
                                       found.inkLevel));
    subtractEmptyBoxes(statements, header);
    const SheetThresholds thresholds = thresholdsOf(statements);

    const std::vector<QChar> letters = {u'a', u'b', u'c'};
    for (int q = 0; q < kStatementCount; ++q)
        page.statements[std::size_t(q)] = decided(statements[std::size_t(q)], thresholds, letters, labelsOf(letters));
    MeasuredGroup sex = header[0];
    sex.boxes.push_back(header[1].boxes.front());
    sex.ink.push_back(header[1].ink.front());
    page.sex = decided(sex, thresholds, {u'm', u'f'}, {QStringLiteral("мужской"), QStringLiteral("женский")});
    const std::vector<QChar> tens = digits(sheet::kFirstTensDigit, sheet::kTensDigits);
    const std::vector<QChar> units = digits(0, sheet::kUnitsDigits);
    page.ageTens = decided(header[2], thresholds, tens, labelsOf(tens));
    page.ageUnits = decided(header[3], thresholds, units, labelsOf(units));

    page.image = imageOf(found.upright);
    page.fitErrorMm = placement.errorMm;
    page.turnedDegrees = found.turnedDegrees;
    page.nameField = pixelsOfMm(sheet::kNameField);
    page.groupRow = found.codeRead ? found.code.groupRow : 0;
    return page;
}

} // namespace zorven::scan
