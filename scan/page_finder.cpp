#include "scan/page_finder.h"

#include <opencv2/imgproc.hpp>

#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <array>
#include <complex>
#include <optional>
#include <vector>

namespace zorven::scan {

namespace {

namespace sheet = answer_sheet;

// The corner marks are looked for at this scale, where a 6 mm mark is 12 dots wide.
constexpr double kSearchDotsPerMm = 2;
// How far from where a mark should be it is still taken for that corner's mark: shifts
// and turns of a scan on the glass stay within it.
constexpr double kCornerReachMm = 25;
// The found marks must stand as far apart as the printed ones at one scale, give or take
// this share: a slight slant stays well within it; a stray blot does not.
constexpr double kSpacingTolerance = 0.04;
// The scale may differ this much from the one the image's size suggests, as where a
// scanner's glass is not A4.
constexpr double kScaleTolerance = 0.15;
// A solid printed mark reads at least this dark between the paper and the ink, and where
// no mark is printed at most this dark.
constexpr double kSolidDarkness = 0.6;
constexpr double kBlankDarkness = 0.3;

struct CornerCandidate {
    cv::Point2d centre; // in the scan's pixels
    double darkness = 0;
};

cv::Point2d centreOf(const QRectF &mm)
{
    return {mm.center().x(), mm.center().y()};
}

uchar percentile(const cv::Mat &grey, double share)
{
    std::array<int, 256> counts{};
    for (int y = 0; y < grey.rows; ++y) {
        const uchar *row = grey.ptr<uchar>(y);
        for (int x = 0; x < grey.cols; ++x)
            ++counts[row[x]];
    }
    const double wanted = share * double(grey.total());
    double seen = 0;
    for (int level = 0; level < 256; ++level) {
        seen += counts[std::size_t(level)];
        if (seen >= wanted)
            return uchar(level);
    }
    return 255;
}

// The solid squares of a corner mark's size in the scan, shrunk to the search scale.
std::vector<cv::Point2d> squareMarks(const cv::Mat &small, double scanDotsPerSmallDot)
{
    cv::Mat ink;
    cv::adaptiveThreshold(small, ink, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY_INV,
                          int(20 * kSearchDotsPerMm) | 1, 40);
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(ink, labels, stats, centroids, 8, CV_32S);
    const double side = sheet::kMarkSize * kSearchDotsPerMm;
    const auto sized = [side](int length) { return length >= 0.7 * side && length <= 1.45 * side; };
    std::vector<cv::Point2d> marks;
    for (int i = 1; i < count; ++i) {
        const int left = stats.at<int>(i, cv::CC_STAT_LEFT);
        const int top = stats.at<int>(i, cv::CC_STAT_TOP);
        const int width = stats.at<int>(i, cv::CC_STAT_WIDTH);
        const int height = stats.at<int>(i, cv::CC_STAT_HEIGHT);
        const int area = stats.at<int>(i, cv::CC_STAT_AREA);
        if (area < 0.65 * width * height)
            continue;
        // A page turned on the glass can put a corner mark partly past the scan's edge:
        // its edges inside the scan still say where its middle is.
        const bool cutLeft = left == 0, cutTop = top == 0;
        const bool cutRight = left + width == small.cols, cutBottom = top + height == small.rows;
        const bool widthWhole = !cutLeft && !cutRight, heightWhole = !cutTop && !cutBottom;
        if ((widthWhole ? !sized(width) : width < 0.3 * side || width > 1.45 * side)
            || (heightWhole ? !sized(height) : height < 0.3 * side || height > 1.45 * side)
            || (!widthWhole && !heightWhole))
            continue;
        double x = centroids.at<double>(i, 0), y = centroids.at<double>(i, 1);
        if (cutLeft)
            x = left + width - side / 2;
        else if (cutRight)
            x = left + side / 2;
        if (cutTop)
            y = top + height - side / 2;
        else if (cutBottom)
            y = top + side / 2;
        marks.emplace_back(x * scanDotsPerSmallDot, y * scanDotsPerSmallDot);
    }
    return marks;
}

// The marks within reach of where corner `corner` of the image should hold one, nearest
// first.
std::vector<cv::Point2d> marksOfCorner(const std::vector<cv::Point2d> &marks, int corner, cv::Size scan,
                                       double dotsPerMm)
{
    const double inset = (sheet::kMarkInset + sheet::kMarkSize / 2) * dotsPerMm;
    const cv::Point2d expected(corner % 2 == 0 ? inset : scan.width - inset,
                               corner / 2 == 0 ? inset : scan.height - inset);
    std::vector<std::pair<double, cv::Point2d>> near;
    for (const cv::Point2d &mark : marks) {
        const double distance = cv::norm(mark - expected);
        if (distance < kCornerReachMm * dotsPerMm)
            near.emplace_back(distance, mark);
    }
    std::sort(near.begin(), near.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<cv::Point2d> nearest;
    for (const auto &[distance, mark] : near)
        nearest.push_back(mark);
    return nearest;
}

// The map from sheet millimetres to scan pixels through the marks found: a homography
// through four, an affine map through three, a similarity through two. `sheetCornerOf` says which of the sheet's
// corners lies in each corner of the image.
cv::Mat sheetToScan(const std::array<std::optional<cv::Point2d>, 4> &found, const std::array<int, 4> &sheetCornerOf)
{
    std::vector<cv::Point2f> from, to;
    for (int corner = 0; corner < 4; ++corner)
        if (found[std::size_t(corner)]) {
            from.push_back(cv::Point2f(centreOf(sheet::cornerMarkRect(sheetCornerOf[std::size_t(corner)]))));
            to.push_back(cv::Point2f(*found[std::size_t(corner)]));
        }
    if (from.size() == 4)
        return cv::getPerspectiveTransform(from, to);
    cv::Mat map = cv::Mat::eye(3, 3, CV_64F);
    if (from.size() == 3) {
        cv::getAffineTransform(from.data(), to.data()).copyTo(map.rowRange(0, 2));
        return map;
    }
    // Two marks: turned, scaled and shifted alike in both directions, which the cells'
    // outlines then correct.
    const std::complex<double> z1(from[0].x, from[0].y), z2(from[1].x, from[1].y);
    const std::complex<double> w1(to[0].x, to[0].y), w2(to[1].x, to[1].y);
    const std::complex<double> a = (w2 - w1) / (z2 - z1);
    const std::complex<double> b = w1 - a * z1;
    map.at<double>(0, 0) = a.real(), map.at<double>(0, 1) = -a.imag(), map.at<double>(0, 2) = b.real();
    map.at<double>(1, 0) = a.imag(), map.at<double>(1, 1) = a.real(), map.at<double>(1, 2) = b.imag();
    return map;
}

cv::Point2d mapped(const cv::Mat &map, cv::Point2d p)
{
    const cv::Matx33d m(map);
    const cv::Vec3d v = m * cv::Vec3d(p.x, p.y, 1);
    return {v[0] / v[2], v[1] / v[2]};
}

// Whether the marks found stand as the printed ones do: every distance between two of them
// the printed one times the same scale, give or take a slight slant, and that scale near
// the one the image's size suggests (a scan a little larger or smaller than A4 still fits).
bool spacedAsPrinted(const std::array<std::optional<cv::Point2d>, 4> &found, double dotsPerMm)
{
    const double across = sheet::kSheetWidth - 2 * sheet::kMarkInset - sheet::kMarkSize;
    const double down = sheet::kSheetHeight - 2 * sheet::kMarkInset - sheet::kMarkSize;
    const double diagonal = std::hypot(across, down);
    std::vector<double> scales;
    const std::array<std::array<int, 2>, 6> pairs = {{{0, 1}, {2, 3}, {0, 2}, {1, 3}, {0, 3}, {1, 2}}};
    for (const auto &pair : pairs) {
        const auto &a = found[std::size_t(pair[0])];
        const auto &b = found[std::size_t(pair[1])];
        if (!a || !b)
            continue;
        const bool acrossApart = pair[0] % 2 != pair[1] % 2;
        const bool downApart = pair[0] / 2 != pair[1] / 2;
        const double printed = acrossApart && downApart ? diagonal : acrossApart ? across : down;
        scales.push_back(cv::norm(*a - *b) / printed / dotsPerMm);
    }
    if (scales.empty())
        return false;
    const auto [least, most] = std::minmax_element(scales.begin(), scales.end());
    return *most - *least <= kSpacingTolerance * *least && *least >= 1 - kScaleTolerance
           && *most <= 1 + kScaleTolerance;
}

// How dark the scan is, between paper (0) and printed ink (1), on average inside `mm`.
double darknessIn(const cv::Mat &grey, const cv::Mat &map, const QRectF &mm, double paper, double ink)
{
    constexpr int kSamples = 5;
    const QRectF inner = mm.adjusted(mm.width() / 4, mm.height() / 4, -mm.width() / 4, -mm.height() / 4);
    double sum = 0;
    for (int i = 0; i < kSamples; ++i)
        for (int j = 0; j < kSamples; ++j) {
            const cv::Point2d p = mapped(map, {inner.left() + inner.width() * i / (kSamples - 1),
                                               inner.top() + inner.height() * j / (kSamples - 1)});
            const int x = std::clamp(int(p.x), 0, grey.cols - 1);
            const int y = std::clamp(int(p.y), 0, grey.rows - 1);
            sum += grey.at<uchar>(y, x);
        }
    return (paper - sum / (kSamples * kSamples)) / std::max(1.0, paper - ink);
}

cv::Mat straightened(const cv::Mat &grey, const cv::Mat &sheetToScanMap, uchar paper)
{
    const cv::Matx33d fromUpright = cv::Matx33d(sheetToScanMap)
                                    * cv::Matx33d(1 / kPixelsPerMm, 0, 0, 0, 1 / kPixelsPerMm, 0, 0, 0, 1);
    cv::Mat upright;
    cv::warpPerspective(grey, upright, cv::Mat(fromUpright),
                        cv::Size(int(sheet::kSheetWidth * kPixelsPerMm), int(sheet::kSheetHeight * kPixelsPerMm)),
                        cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT, cv::Scalar(paper));
    return upright;
}

cv::Rect pixelsOf(const QRectF &mm)
{
    return {int(mm.left() * kPixelsPerMm), int(mm.top() * kPixelsPerMm), int(mm.width() * kPixelsPerMm),
            int(mm.height() * kPixelsPerMm)};
}

// The sheet code where the upright sheet has it; nothing when none is read there.
std::optional<sheet::SheetCode> sheetCodeIn(const cv::Mat &upright)
{
    constexpr double kQuietZone = 3.5;
    const cv::Mat area = upright(pixelsOf(sheet::kSheetCodeRect.adjusted(-kQuietZone, -kQuietZone, kQuietZone,
                                                                           kQuietZone)));
    const ZXing::ImageView view(area.data, area.cols, area.rows, ZXing::ImageFormat::Lum, int(area.step));
    const ZXing::Result result =
        ZXing::ReadBarcode(view, ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode).setTryRotate(false));
    sheet::SheetCode code;
    if (!result.isValid() || !sheet::parseSheetCode(QString::fromStdString(result.text()), code))
        return std::nullopt;
    return code;
}

double inkOfMarks(const cv::Mat &upright, uchar paper)
{
    std::vector<double> levels;
    for (int corner = 0; corner < 4; ++corner) {
        const QRectF mm = sheet::cornerMarkRect(corner);
        levels.push_back(cv::mean(upright(pixelsOf(mm.adjusted(1.5, 1.5, -1.5, -1.5))))[0]);
    }
    levels.push_back(cv::mean(upright(pixelsOf(sheet::topCueRect().adjusted(1, 1, -1, -1))))[0]);
    std::sort(levels.begin(), levels.end());
    // A corner under a fold is paper; the darkest marks are ink.
    return std::min(levels[1], paper * 0.5);
}

// The corner marks: the nearest mark to each corner where the four stand as printed;
// else the three that do, the fourth lost under a fold or taken for another square; else
// two, the others lost under a fold and past the scan's edge, and the cells' outlines
// must then do the rest.
std::array<std::optional<cv::Point2d>, 4> cornerMarks(const std::vector<cv::Point2d> &marks, cv::Size scan,
                                                      double dotsPerMm)
{
    std::array<std::optional<cv::Point2d>, 4> nearest;
    for (int corner = 0; corner < 4; ++corner) {
        const std::vector<cv::Point2d> near = marksOfCorner(marks, corner, scan, dotsPerMm);
        if (!near.empty())
            nearest[std::size_t(corner)] = near.front();
    }
    if (spacedAsPrinted(nearest, dotsPerMm))
        return nearest;
    for (int lost = 0; lost < 4; ++lost) {
        std::array<std::optional<cv::Point2d>, 4> three = nearest;
        three[std::size_t(lost)].reset();
        if (spacedAsPrinted(three, dotsPerMm))
            return three;
    }
    for (int lost = 0; lost < 4; ++lost)
        for (int alsoLost = lost + 1; alsoLost < 4; ++alsoLost) {
            std::array<std::optional<cv::Point2d>, 4> two = nearest;
            two[std::size_t(lost)].reset();
            two[std::size_t(alsoLost)].reset();
            if (spacedAsPrinted(two, dotsPerMm))
                return two;
        }
    return {};
}

constexpr std::array<int, 4> kUpright = {0, 1, 2, 3};
constexpr std::array<int, 4> kUpsideDown = {3, 2, 1, 0};

} // namespace

FoundPage findPage(const cv::Mat &grey)
{
    FoundPage page;
    if (grey.cols > grey.rows) {
        page.failure = QStringLiteral("лист лежит боком: нужен скан листа стоя или вверх ногами");
        return page;
    }
    const double dotsPerMm = grey.rows / sheet::kSheetHeight;
    if (dotsPerMm < 3) {
        page.failure = QStringLiteral("слишком мелкий скан: меньше 75 точек на дюйм");
        return page;
    }
    cv::Mat small;
    const double shrink = kSearchDotsPerMm / dotsPerMm;
    cv::resize(grey, small, cv::Size(), shrink, shrink, cv::INTER_AREA);
    const uchar paper = percentile(small, 0.9);

    const std::vector<cv::Point2d> marks = squareMarks(small, 1 / shrink);
    std::array<std::optional<cv::Point2d>, 4> found = cornerMarks(marks, grey.size(), dotsPerMm);
    for (const auto &mark : found)
        page.cornersFound += mark ? 1 : 0;
    if (page.cornersFound < 2) {
        page.failure = QStringLiteral("угловые метки не найдены: нужны хотя бы 2 из 4 на своих местах");
        return page;
    }

    const cv::Mat upright = sheetToScan(found, kUpright);
    double ink = 0;
    for (const auto &mark : found)
        if (mark)
            ink = std::max(ink, double(grey.at<uchar>(int(mark->y), int(mark->x))));
    const double cue = darknessIn(grey, upright, sheet::topCueRect(), paper, ink);
    const double cueTurned = darknessIn(grey, upright, sheet::turnedHalfway(sheet::topCueRect()), paper, ink);
    std::optional<bool> upsideDown;
    if (cue >= kSolidDarkness && cueTurned <= kBlankDarkness)
        upsideDown = false;
    else if (cueTurned >= kSolidDarkness && cue <= kBlankDarkness)
        upsideDown = true;

    // The cue decides; where a fold or a blot hides it, the sheet code does, which is
    // read only the right way up.
    const std::array<bool, 2> tries = {upsideDown.value_or(false), !upsideDown.value_or(false)};
    for (const bool turned : tries) {
        const cv::Mat map = turned ? sheetToScan(found, kUpsideDown) : upright;
        page.upright = straightened(grey, map, paper);
        const std::optional<sheet::SheetCode> code = sheetCodeIn(page.upright);
        if (code || upsideDown) {
            page.codeRead = code.has_value();
            page.code = code.value_or(sheet::SheetCode{});
            page.turnedDegrees = turned ? 180 : 0;
            page.inkLevel = inkOfMarks(page.upright, paper);
            return page;
        }
    }
    page.upright.release();
    page.failure = QStringLiteral("не видно, где у листа верх: метка внизу листа и код бланка не найдены");
    return page;
}

} // namespace zorven::scan
