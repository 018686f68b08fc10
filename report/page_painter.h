#pragma once
#include <QFont>
#include <QFontMetricsF>
#include <QPen>
#include <QString>
#include <map>

#include "report/band_layout.h"
#include "report/report_content.h"

class QPainter;

namespace tamboro::report {

// Places the report's text boxes and lines at millimetre positions on any
// paint device (preview, printer, PDF, image), the paper's top-left corner
// being the device's origin. Line widths are in the device's own pixels.
class PagePainter {
public:
    // dpiX, dpiY: the device's resolution; fonts follow the device's own.
    PagePainter(QPainter& painter, double dpiX, double dpiY);
    explicit PagePainter(QPainter& painter);  // the painter's device resolution

    // One band with its top-left corner at (leftMm, topMm) on the paper;
    // texts holds the band's filled-in texts by slot.
    void paintBand(const BandSpec& band, double leftMm, double topMm, const QString* texts, int textCount);
    // One page of a built report (0-based), header first.
    void paintPage(const ReportContent& content, int page);

    void text(const CellSpec& cell, double leftMm, double topMm, const QString& text);
    void line(const LineSpec& spec, double leftMm, double topMm);

private:
    double px(double mm) const { return mm * dpiX_ / 25.4; }
    double py(double mm) const { return mm * dpiY_ / 25.4; }
    struct FontUse {
        QFont font;
        QFontMetricsF metrics;
    };
    const FontUse& font(double points, bool underline);

    const QString& fixedText(const char* utf8);

    QPainter& painter_;
    QPen textPen_{Qt::black}, thinPen_, thickPen_, dottedPen_;
    std::map<const char*, QString> fixedTexts_;  // the layout's own texts, by address
    double dpiX_, dpiY_;
    std::map<std::pair<int, bool>, FontUse> fonts_;  // by tenths of a point
    const FontUse* current_ = nullptr;               // the painter's font now
};

// The report's font family, with the metric-compatible stand-in installed.
QString reportFontFamily();

}  // namespace tamboro::report
