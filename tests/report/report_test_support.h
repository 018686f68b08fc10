#pragma once
// Shared by the report's suites: pages rendered to images at a known
// resolution, and reading PDF files back.
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "report/page_painter.h"
#include "report/report_content.h"

namespace tamboro::test {

// Ten pixels per millimetre.
constexpr double kPxPerMm = 10.0;

inline QImage renderPage(const report::ReportContent& content, int page) {
    QImage image(static_cast<int>(report::kPaperWidthMm * kPxPerMm), static_cast<int>(report::kPaperHeightMm * kPxPerMm),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(kPxPerMm * 1000));
    image.setDotsPerMeterY(static_cast<int>(kPxPerMm * 1000));
    image.fill(Qt::white);
    QPainter painter(&image);
    report::PagePainter(painter).paintPage(content, page);
    return image;
}

inline int px(double mm) { return static_cast<int>(std::floor(mm * kPxPerMm)); }

inline bool dark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 160; }

// Any dark pixel in the rectangle of paper millimetres [x1, x2) × [y1, y2).
inline bool anyDark(const QImage& image, double x1, double y1, double x2, double y2) {
    // At least one pixel each way, however narrow the rectangle.
    for (int y = px(y1); y < std::max(px(y2), px(y1) + 1); ++y)
        for (int x = px(x1); x < std::max(px(x2), px(x1) + 1); ++x)
            if (dark(image, x, y)) return true;
    return false;
}

// The leftmost and rightmost dark columns (in mm) of a rectangle; -1 if none.
inline std::pair<double, double> darkSpan(const QImage& image, double x1, double y1, double x2, double y2) {
    int lo = -1, hi = -1;
    for (int y = px(y1); y < px(y2); ++y)
        for (int x = px(x1); x < px(x2); ++x)
            if (dark(image, x, y)) {
                if (lo < 0 || x < lo) lo = x;
                if (x > hi) hi = x;
            }
    return {lo < 0 ? -1 : lo / kPxPerMm, hi < 0 ? -1 : (hi + 1) / kPxPerMm};
}

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Page objects of a PDF file (not the page tree).
inline int pdfPageCount(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

inline report::ReportContent contentOfRows(int titles) {
    report::ReportContent c;
    c.titles = titles;
    c.rows.resize(static_cast<size_t>(std::max(1, titles)));
    for (int i = 0; i < titles; ++i) c.rows[static_cast<size_t>(i)][report::DCode] = QString::number(i + 1);
    return c;
}

}  // namespace tamboro::test
