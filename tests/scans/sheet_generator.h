#pragma once
// Filled and scanned answer sheets made to order, for the reader's tests and its
// benchmark: the printed sheet drawn at a scanner's resolution, marked as respondents mark
// it (crosses, ticks, fills, circles; ballpoint, pencil, felt pen; blanks, two marks,
// corrections by the sheet's rule, erasures, stray dots), then put through what printing
// and scanning do to it. Every page comes with what a careful person reads on it.

#include "paper/group_list.h"
#include "questionnaire/statements.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <array>
#include <cstdint>

namespace sheet_generator {

// What a statement's boxes hold, and so what the reader must make of them.
enum class Truth {
    Clear,       // one clear mark: its letter
    Blank,       // nothing: '-'
    TwoMarks,    // two clear marks: '?'
    Correction,  // a box filled whole beside a marked one: the marked one's letter
    Erasure,     // an erased mark beside a new one: '?'
    TooLight,    // one mark too light to be sure: '?' (or '-')
};

enum class Style { Cross, Tick, Fill, Circle };
enum class Pen { Ballpoint, BlueBallpoint, Pencil, LightPencil, FeltPen };

struct Conditions {
    int dpi = 200;
    Style style = Style::Cross;
    Pen pen = Pen::Ballpoint;
    bool colour = false;          // scanned in colour, on tinted paper
    double rotationDegrees = 0;   // up to ±5
    double scale = 1;             // 0.97 … 1.03
    double shiftMm = 0;           // up to a few mm, both ways
    double perspective = 0;       // corner displacement, share of the page (≤ 0.004)
    double blurSigma = 0;         // in pixels
    double noiseSigma = 0;        // in grey levels
    int jpegQuality = 0;          // 0: PNG, lossless
    double unevenLight = 0;       // how much darker one side is (≤ 0.3)
    int foldedCorner = -1;        // 0..3: that corner folded over its mark
    bool upsideDown = false;
    // Shares of the statements that are not clear single marks.
    double blanks = 0.03, twoMarks = 0.01, corrections = 0.01, erasures = 0.01, tooLight = 0.01, strayDots = 0.05;
    int groupRow = 0;             // the row in the sheet code; 0 for a blank sheet
    std::uint32_t seed = 1;
};

struct Page {
    QByteArray file;              // as a scanner writes it: PNG or JPEG bytes
    QImage image;                 // the same page, decoded
    std::array<Truth, zorven::kStatementCount> truth{};
    std::array<QChar, zorven::kStatementCount> expected{}; // 'a', 'b', 'c', '-' or '?'
    QChar sex;                    // 'm' or 'f'
    int age = 0;
};

// The sheet filled at random under `conditions`, reproducibly from its seed.
Page generatedPage(const Conditions &conditions);

// Many pages' conditions drawn from every kind of scan and respondent, from `seed`.
Conditions randomConditions(std::uint32_t seed, int dpi);

QString nameOf(Style style);
QString nameOf(Pen pen);

} // namespace sheet_generator
