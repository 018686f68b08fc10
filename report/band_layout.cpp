#include "report/band_layout.h"

#include <algorithm>
#include <cmath>

namespace tamboro::report {

namespace {

constexpr Align L = Align::Left, R = Align::Right, C = Align::Centre;
constexpr int kFixed = -1;

// QRBand1, the page header.
constexpr CellSpec kHeaderCells[] = {
    {"QTitle", "DVDタイトル一覧", kFixed, 12, L, 71.97, 2.12, 30.16, 5.82, true, true},
    {"QRLabel16", "作成日：", kFixed, 10, L, 156.63, 5.29, 12.44, 4.50, true},
    {"QMakeDate", nullptr, HMakeDate, 10, L, 171.45, 5.29, 18.79, 4.50, true},
    {"QGenre1", nullptr, HGenre1, 10, L, 1.06, 6.09, 30.96, 3.70},
    {"QGenre2", nullptr, HGenre2, 10, L, 32.81, 6.09, 30.96, 3.70},
    {"QRLabel2", "CODE", kFixed, 8, L, 2.12, 10.85, 7.67, 4.50, true},
    {"QRLabel4", "タイトル", kFixed, 10, L, 13.76, 10.85, 11.11, 4.50, true},
    {"QRLabel6", "BOX番号", kFixed, 10, L, 101.60, 10.85, 13.76, 4.50, true},
    {"QRLabel8", "前回鑑賞日", kFixed, 10, L, 120.91, 10.85, 17.46, 4.50, true},
    {"QRLabel12", "時間", kFixed, 10, L, 143.93, 10.85, 7.14, 4.50, true},
    {"QRLabel13", "ジャンル１", kFixed, 10, L, 157.69, 10.85, 14.82, 4.50, true},
    {"QRLabel5", "サブタイトル", kFixed, 10, L, 13.76, 15.88, 17.46, 4.50, true},
    {"QRLabel7", "DVD番号", kFixed, 10, L, 101.60, 15.88, 13.49, 4.50, true},
    {"QRLabel9", "鑑賞回数", kFixed, 10, L, 120.91, 15.88, 14.02, 4.50, true},
    {"QRLabel1", "評価", kFixed, 10, L, 143.93, 15.88, 7.14, 4.50, true},
    {"QRLabel10", "ジャンル２", kFixed, 10, L, 157.69, 15.88, 14.82, 4.50, true},
};

constexpr LineSpec kHeaderLines[] = {
    {"QRShape13", Pen::Thick, 0.00, 10.19, 189.97, 10.19},
    {"QRShape11", Pen::Dotted, 0.00, 15.35, 189.97, 15.35},
    {"QRShape12", Pen::Thick, 0.00, 20.64, 189.97, 20.64},
    {"QRShape21", Pen::Thick, 0.13, 10.32, 0.13, 20.90},
    {"QRShape20", Pen::Thick, 190.10, 10.32, 190.10, 20.90},
    {"QRShape19", Pen::Thin, 11.77, 10.32, 11.77, 20.90},
    {"QRShape18", Pen::Thin, 100.67, 10.32, 100.67, 20.90},
    {"QRShape17", Pen::Thin, 117.61, 10.32, 117.61, 20.90},
    {"QRShape16", Pen::Thin, 140.89, 10.32, 140.89, 20.90},
    {"QRShape15", Pen::Thin, 155.71, 10.32, 155.71, 20.90},
};

// QRBand3, one per title.
constexpr CellSpec kDetailCells[] = {
    {"QRDBText1", nullptr, DCode, 10, L, 2.12, 0.26, 10.85, 4.50},
    {"QRDBText2", nullptr, DTitle, 10, L, 13.76, 0.26, 85.99, 4.50},
    {"QRDBText3", nullptr, DBoxNo, 10, L, 103.72, 0.26, 10.85, 4.50},
    {"QRDBText4", nullptr, DWatched, 9, L, 120.91, 0.26, 18.26, 4.50},
    {"QRDBText10", nullptr, DRunTime, 10, R, 141.82, 0.26, 8.73, 4.50},
    {"QRLabel11", "分", kFixed, 10, L, 150.81, 0.26, 3.70, 3.70, true},
    {"QLGenre1", nullptr, DGenre1, 10, L, 157.69, 0.26, 30.96, 3.70},
    {"QRDBText12", nullptr, DSubTitle, 10, L, 13.76, 6.09, 85.99, 4.50},
    {"QRDBText6", nullptr, DDvdNo, 10, L, 103.72, 6.09, 10.85, 4.50},
    {"QRDBText5", nullptr, DCount, 10, R, 123.83, 6.09, 7.67, 4.50},
    {"QRLabel3", "回", kFixed, 10, L, 133.88, 6.09, 3.70, 3.70, true},
    {"QRDBText7", nullptr, DRating, 10, C, 142.88, 6.09, 11.91, 4.50},
    {"QLGenre2", nullptr, DGenre2, 10, L, 157.69, 6.09, 30.96, 3.70},
};

// The verticals start above the band, over the bottom of the band before it.
constexpr LineSpec kDetailLines[] = {
    {"QRShape10", Pen::Dotted, 0.00, 5.16, 189.97, 5.16},
    {"QRShape9", Pen::Thick, 0.00, 10.85, 189.97, 10.85},
    {"QRShape7", Pen::Thick, 0.13, -0.53, 0.13, 10.58},
    {"QRShape8", Pen::Thick, 190.10, -0.53, 190.10, 10.58},
    {"QRShape6", Pen::Thin, 11.77, -0.53, 11.77, 10.58},
    {"QRShape4", Pen::Thin, 100.67, -0.53, 100.67, 10.58},
    {"QRShape5", Pen::Thin, 117.61, -0.53, 117.61, 10.58},
    {"QRShape3", Pen::Thin, 140.89, -0.53, 140.89, 10.58},
    {"QRShape1", Pen::Thin, 155.71, -0.53, 155.71, 10.58},
};

constexpr BandSpec kHeader{"QRBand1", 20.90, kHeaderCells, kHeaderLines};
constexpr BandSpec kDetail{"QRBand3", 11.64, kDetailCells, kDetailLines};

}  // namespace

const BandSpec& pageHeaderBand() { return kHeader; }
const BandSpec& detailBand() { return kDetail; }

int detailBandsPerPage() {
    // Counted as the report engine counts: bands follow until the next one
    // would pass the bottom margin. The small tolerance keeps a band that
    // ends exactly on the margin from being lost to rounding.
    const double room = kPrintableBottomMm - kMarginTopMm - kHeader.height;
    return std::max(1, static_cast<int>(std::floor(room / kDetail.height + 1e-9)));
}

int pageCountFor(int titles) {
    const int perPage = detailBandsPerPage();
    return titles <= 0 ? 1 : (titles + perPage - 1) / perPage;
}

double detailBandTopMm(int indexOnPage) { return kMarginTopMm + kHeader.height + indexOnPage * kDetail.height; }

}  // namespace tamboro::report
