#include "report/page_painter.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

#include "controls/app_font.h"

namespace tamboro::report {

QString reportFontFamily() {
    installFontSubstitutions();
    return QString::fromUtf8(kAppFontFamily);
}

PagePainter::PagePainter(QPainter& painter, double dpiX, double dpiY)
    : painter_(painter), dpiX_(dpiX), dpiY_(dpiY) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    // Widths in device pixels: the painter draws in the device's own units.
    for (QPen* pen : {&thinPen_, &thickPen_, &dottedPen_}) {
        pen->setColor(Qt::black);
        pen->setCapStyle(Qt::FlatCap);
    }
    thinPen_.setWidthF(1.0);
    thickPen_.setWidthF(2.0);
    dottedPen_.setWidthF(1.0);
    dottedPen_.setStyle(Qt::DotLine);
}

PagePainter::PagePainter(QPainter& painter)
    : PagePainter(painter, painter.device()->logicalDpiX(), painter.device()->logicalDpiY()) {}

const PagePainter::FontUse& PagePainter::font(double points, bool underline) {
    const std::pair<int, bool> key{static_cast<int>(std::lround(points * 10)), underline};
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
        QFont f(reportFontFamily());
        f.setPointSizeF(points);
        f.setUnderline(underline);
        f.setStyleStrategy(QFont::PreferOutline);
        it = fonts_.emplace(key, FontUse{f, QFontMetricsF(f, painter_.device())}).first;
    }
    return it->second;
}

void PagePainter::text(const CellSpec& cell, double leftMm, double topMm, const QString& text) {
    if (text.isEmpty()) return;
    const FontUse& use = font(cell.points, cell.underline);
    const QFont& f = use.font;
    const QFontMetricsF& metrics = use.metrics;
    const QRectF box(px(leftMm + cell.x), py(topMm + cell.y), px(cell.w), py(cell.h));
    if (current_ != &use) {
        painter_.setFont(f);
        current_ = &use;
    }
    painter_.setPen(textPen_);
    const double width = metrics.horizontalAdvance(text);
    // Most texts fit their box: they need no layout.
    if (cell.oneLine || width <= box.width()) {
        double x = box.left();
        if (!cell.oneLine && cell.align == Align::Right) x = box.right() - width;
        else if (!cell.oneLine && cell.align == Align::Centre) x = box.left() + (box.width() - width) / 2;
        painter_.drawText(QPointF(x, box.top() + metrics.ascent()), text);
        return;
    }
    // Wrapped at the box width; only lines that fit in the box print, but
    // always the first, so that a long text never makes its row taller.
    // Lines break only where words may break (between Japanese characters,
    // at blanks): a date or number a hair too wide prints whole rather than
    // losing its last digits.
    QTextLayout layout(text, f, painter_.device());
    QTextOption option(cell.align == Align::Right    ? Qt::AlignRight
                       : cell.align == Align::Centre ? Qt::AlignHCenter
                                                     : Qt::AlignLeft);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    double y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(box.width());
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        if (i > 0 && line.y() + line.height() > box.height()) break;
        line.draw(&painter_, box.topLeft());
    }
}

void PagePainter::line(const LineSpec& spec, double leftMm, double topMm) {
    painter_.setPen(spec.pen == Pen::Thick ? thickPen_ : spec.pen == Pen::Dotted ? dottedPen_ : thinPen_);
    painter_.drawLine(QPointF(px(leftMm + spec.x1), py(topMm + spec.y1)),
                      QPointF(px(leftMm + spec.x2), py(topMm + spec.y2)));
}

const QString& PagePainter::fixedText(const char* utf8) {
    auto it = fixedTexts_.find(utf8);
    if (it == fixedTexts_.end()) it = fixedTexts_.emplace(utf8, QString::fromUtf8(utf8)).first;
    return it->second;
}

void PagePainter::paintBand(const BandSpec& band, double leftMm, double topMm, const QString* texts, int textCount) {
    static const QString empty;
    for (const CellSpec& cell : band.cells) {
        if (cell.fixedText) text(cell, leftMm, topMm, fixedText(cell.fixedText));
        else text(cell, leftMm, topMm, cell.slot >= 0 && cell.slot < textCount ? texts[cell.slot] : empty);
    }
    // Lines go over the cells.
    for (const LineSpec& l : band.lines) line(l, leftMm, topMm);
}

void PagePainter::paintPage(const ReportContent& content, int page) {
    paintBand(pageHeaderBand(), kMarginLeftMm, kMarginTopMm, content.header.data(), kHeaderSlots);
    const int first = content.firstRowOf(page);
    const int count = content.rowCountOn(page);
    for (int i = 0; i < count; ++i) {
        const ReportContent::Row& row = content.rows[static_cast<size_t>(first + i)];
        paintBand(detailBand(), kMarginLeftMm, detailBandTopMm(i), row.data(), kDetailSlots);
    }
}

}  // namespace tamboro::report
