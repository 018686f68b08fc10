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
}

PagePainter::PagePainter(QPainter& painter)
    : PagePainter(painter, painter.device()->logicalDpiX(), painter.device()->logicalDpiY()) {}

const QFont& PagePainter::font(double points, bool underline) {
    const std::pair<int, bool> key{static_cast<int>(std::lround(points * 10)), underline};
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
        QFont f(reportFontFamily());
        f.setPointSizeF(points);
        f.setUnderline(underline);
        f.setStyleStrategy(QFont::PreferOutline);
        it = fonts_.emplace(key, f).first;
    }
    return it->second;
}

void PagePainter::text(const CellSpec& cell, double leftMm, double topMm, const QString& text) {
    if (text.isEmpty()) return;
    const QFont& f = font(cell.points, cell.underline);
    const QRectF box(px(leftMm + cell.x), py(topMm + cell.y), px(cell.w), py(cell.h));
    painter_.setFont(f);
    painter_.setPen(Qt::black);
    const QFontMetricsF metrics(f, painter_.device());
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
    QTextLayout layout(text, f, painter_.device());
    QTextOption option(cell.align == Align::Right    ? Qt::AlignRight
                       : cell.align == Align::Centre ? Qt::AlignHCenter
                                                     : Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
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
    QPen pen(Qt::black);
    pen.setWidthF(spec.pen == Pen::Thick ? 2.0 : 1.0);
    pen.setCapStyle(Qt::FlatCap);
    if (spec.pen == Pen::Dotted) pen.setStyle(Qt::DotLine);
    painter_.setPen(pen);
    painter_.drawLine(QPointF(px(leftMm + spec.x1), py(topMm + spec.y1)),
                      QPointF(px(leftMm + spec.x2), py(topMm + spec.y2)));
}

void PagePainter::paintBand(const BandSpec& band, double leftMm, double topMm, const QString* texts, int textCount) {
    static const QString empty;
    for (const CellSpec& cell : band.cells) {
        if (cell.fixedText) text(cell, leftMm, topMm, QString::fromUtf8(cell.fixedText));
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
