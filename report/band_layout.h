#pragma once
#include <span>

// The title list's page: A4 portrait, a page header band on every page and
// one detail band per title. Positions are millimetres from a band's top-left
// corner; the bands' left edge lies on the left margin.
namespace tamboro::report {

inline constexpr double kPaperWidthMm = 210.0;
inline constexpr double kPaperHeightMm = 297.0;
inline constexpr double kMarginTopMm = 4.0;
inline constexpr double kMarginBottomMm = 4.0;
inline constexpr double kMarginLeftMm = 10.0;
inline constexpr double kMarginRightMm = 10.0;
inline constexpr double kBandWidthMm = 189.97;

enum class Align { Left, Right, Centre };
enum class Pen { Thin, Thick, Dotted };

// Texts the report fills in: the header's and each title's.
enum HeaderSlot { HGenre1, HGenre2, HMakeDate, kHeaderSlots };
enum DetailSlot { DCode, DTitle, DBoxNo, DWatched, DRunTime, DGenre1, DSubTitle, DDvdNo, DCount, DRating, DGenre2,
                  kDetailSlots };

struct CellSpec {
    const char* name;
    const char* fixedText;  // UTF-8; null for a filled-in cell
    int slot;               // HeaderSlot or DetailSlot; -1 for a fixed text
    double points;
    Align align;
    double x, y, w, h;
    // One-line texts print from the left edge whatever their length; the
    // others wrap at the box width and keep only the lines that fit.
    bool oneLine = false;
    bool underline = false;
};

struct LineSpec {
    const char* name;
    Pen pen;
    double x1, y1, x2, y2;
};

struct BandSpec {
    const char* name;
    double height;
    std::span<const CellSpec> cells;
    std::span<const LineSpec> lines;
};

const BandSpec& pageHeaderBand();  // QRBand1
const BandSpec& detailBand();      // QRBand3

// Where a page's bottom margin begins, from the top edge of the paper.
inline constexpr double kPrintableBottomMm = kPaperHeightMm - kMarginBottomMm;

// Detail bands that fit below the header on one page (23).
int detailBandsPerPage();
// Pages for a list of titles; an empty list still prints one page.
int pageCountFor(int titles);
// Top of the i-th detail band of its page (0-based), from the paper's top edge.
double detailBandTopMm(int indexOnPage);

}  // namespace tamboro::report
