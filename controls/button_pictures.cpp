#include "controls/button_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tamboro {
namespace {

const QColor kInk(40, 40, 40);
const QColor kBlue(40, 90, 200);
const QColor kRed(200, 40, 40);
const QColor kGreen(30, 140, 60);
const QColor kPaper(252, 252, 244);

void magnifier(QPainter& p) {
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QRectF(4, 4, 16, 16));
    p.setPen(QPen(QColor(120, 70, 20), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(28, 28));
}

void sortArrow(QPainter& p) {
    p.setPen(QPen(kBlue, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(25, 5), QPointF(25, 27));
    p.setBrush(kBlue);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(20, 21), QPointF(30, 21), QPointF(25, 29)}));
}

void sheet(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    for (qreal y = r.top() + 5; y < r.bottom() - 2; y += 4) p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void text(QPainter& p, const QRectF& r, const QString& s, int pixelSize, const QColor& c) {
    QFont f = p.font();
    f.setPixelSize(pixelSize);
    f.setBold(true);
    p.setFont(f);
    p.setPen(c);
    p.drawText(r, Qt::AlignCenter, s);
}

void draw(QPainter& p, ButtonPicture which) {
    switch (which) {
    case ButtonPicture::Search:
        magnifier(p);
        break;
    case ButtonPicture::ClearSearch:
        magnifier(p);
        p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 3), QPointF(30, 14));
        p.drawLine(QPointF(30, 3), QPointF(19, 14));
        break;
    case ButtonPicture::SortByNumber:
        text(p, QRectF(0, 2, 20, 28), QStringLiteral("1\n2"), 12, kInk);
        sortArrow(p);
        break;
    case ButtonPicture::SortByTitle:
        text(p, QRectF(0, 2, 20, 28), QStringLiteral("ア\nイ"), 12, kInk);
        sortArrow(p);
        break;
    case ButtonPicture::SortByGenre:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(250, 200, 80));
        p.drawRect(QRectF(2, 6, 16, 10));
        p.setBrush(QColor(120, 200, 120));
        p.drawRect(QRectF(2, 18, 16, 10));
        sortArrow(p);
        break;
    case ButtonPicture::NewTitle:
        sheet(p, QRectF(5, 3, 18, 25));
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawRect(QRectF(21, 14, 4, 14));
        p.drawRect(QRectF(16, 19, 14, 4));
        break;
    case ButtonPicture::EditTitle: {
        sheet(p, QRectF(4, 3, 18, 25));
        QPainterPath pencil;
        pencil.moveTo(14, 26);
        pencil.lineTo(16, 20);
        pencil.lineTo(27, 9);
        pencil.lineTo(31, 13);
        pencil.lineTo(20, 24);
        pencil.closeSubpath();
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(250, 190, 40));
        p.drawPath(pencil);
        break;
    }
    case ButtonPicture::Print:
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(QColor(170, 170, 180));
        p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(8, 19, 16, 10));
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawEllipse(QRectF(24, 15, 3, 3));
        break;
    case ButtonPicture::Settings: {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(110, 110, 120));
        p.translate(16, 16);
        for (int i = 0; i < 8; ++i) {
            p.drawRect(QRectF(-2.5, -14, 5, 6));
            p.rotate(45);
        }
        p.drawEllipse(QRectF(-10, -10, 20, 20));
        p.setBrush(QColor(230, 230, 235));
        p.drawEllipse(QRectF(-4, -4, 8, 8));
        p.resetTransform();
        break;
    }
    case ButtonPicture::Exit:
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(160, 110, 60));
        p.drawRect(QRectF(4, 3, 14, 26));
        p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 16), QPointF(28, 16));
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        p.drawPolygon(QPolygonF({QPointF(24, 10), QPointF(31, 16), QPointF(24, 22)}));
        break;
    case ButtonPicture::Calendar:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 2.5, 13, 12));
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        p.drawRect(QRectF(2, 3, 12, 3));
        p.setBrush(kInk);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c) p.drawRect(QRectF(3 + c * 3, 7.5 + r * 2.3, 1.6, 1.4));
        break;
    case ButtonPicture::WindowIcon:
        p.setPen(QPen(QColor(0, 96, 0), 1));
        p.setBrush(QColor(40, 170, 60));
        p.drawEllipse(QRectF(1.5, 1.5, 29, 29));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 230, 60));
        p.drawPie(QRectF(1.5, 1.5, 29, 29), 30 * 16, 50 * 16);
        p.drawPie(QRectF(1.5, 1.5, 29, 29), 210 * 16, 50 * 16);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(11, 11, 10, 10));
        break;
    }
}

}  // namespace

QIcon buttonPicture(ButtonPicture which) {
    const int size = which == ButtonPicture::Calendar ? 16 : 32;
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        draw(p, which);
    }
    return QIcon(pm);
}

}  // namespace tamboro
