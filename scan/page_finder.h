#pragma once
// Finding the answer sheet in a scanned image: its corner marks, which way up it lies,
// and the sheet straightened into an upright image of fixed scale in which every place the
// geometry names in millimetres is `kPixelsPerMm` times that in pixels.

#include "paper/answer_sheet_geometry.h"

#include <QString>

#include <opencv2/core.hpp>

namespace zorven::scan {

// The scale of the straightened sheet: about 200 dots an inch, enough for marks in 4 mm
// boxes and small enough to read ten pages a second.
inline constexpr double kPixelsPerMm = 8;

struct FoundPage {
    QString failure;          // empty when the sheet was found; else why not, in Russian
    cv::Mat upright;          // the sheet straightened and turned upright, 8-bit grey
    int turnedDegrees = 0;    // 0, or 180 when the scan held the sheet upside down
    int cornersFound = 0;     // of the four corner marks
    bool codeRead = false;    // whether the sheet code was read
    answer_sheet::SheetCode code;
    double inkLevel = 0;      // the grey of the printed solid marks in `upright`
};

// `grey` is the scan, 8-bit grey, any resolution from 100 to 600 dots an inch, the sheet
// filling the image as scanners write it.
FoundPage findPage(const cv::Mat &grey);

} // namespace zorven::scan
