#include "controls/disc_animation.h"

#include <QLabel>
#include <QPainter>
#include <QRadialGradient>
#include <QTimer>

namespace tamboro {
namespace {

constexpr qreal kDiscDiameter = 48;
constexpr qreal kSectorSpan = 40;  // degrees of one light sector
// The sectors stand opposite each other, so half a turn looks like a whole
// one; four frames step through that half-turn clockwise.
constexpr qreal kFirstSectorAngle = 60;
constexpr qreal kStepAngle = 180.0 / kDiscFrameCount;

void pie(QPainter& p, const QRectF& r, qreal startDegrees, qreal spanDegrees) {
    p.drawPie(r, qRound(startDegrees * 16), qRound(spanDegrees * 16));
}

// The disc centred in an image of `size`, its light sectors starting at
// `sectorAngle` degrees (counter-clockwise from three o'clock).
QImage drawDisc(QSize size, qreal sectorAngle) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Whole-pixel centre rows, so that a frame is the still disc moved down a row.
    const QPointF centre(size.width() / 2.0, size.height() / 2);
    const QRectF disc(centre.x() - kDiscDiameter / 2, centre.y() - kDiscDiameter / 2, kDiscDiameter, kDiscDiameter);

    QRadialGradient body(centre, kDiscDiameter / 2);
    body.setColorAt(0.0, QColor(120, 215, 120));
    body.setColorAt(1.0, QColor(20, 125, 50));
    p.setPen(QPen(QColor(0, 80, 25), 1));
    p.setBrush(body);
    p.drawEllipse(disc);

    const QRectF inside = disc.adjusted(1.5, 1.5, -1.5, -1.5);
    p.setPen(Qt::NoPen);
    QRadialGradient light(centre, kDiscDiameter / 2);
    light.setColorAt(0.0, QColor(255, 250, 190, 235));
    light.setColorAt(1.0, QColor(240, 215, 40, 215));
    p.setBrush(light);
    for (qreal a : {sectorAngle, sectorAngle + 180}) pie(p, inside, a, kSectorSpan);
    p.setBrush(QColor(255, 255, 255, 150));  // a glint along each sector's middle
    for (qreal a : {sectorAngle, sectorAngle + 180}) pie(p, inside, a + kSectorSpan / 2 - 4, 8);

    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.setBrush(Qt::white);
    p.drawEllipse(centre, 9.0, 9.0);
    p.setBrush(QColor(225, 225, 225));
    p.drawEllipse(centre, 5.5, 5.5);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(centre, 3.0, 3.0);
    return image;
}

}  // namespace

QImage drawDiscFrame(int index) {
    return drawDisc(QSize(kDiscFrameWidth, kDiscFrameHeight), kFirstSectorAngle - (index % kDiscFrameCount) * kStepAngle);
}

QImage drawStillDisc() { return drawDisc(QSize(kDiscStillSize, kDiscStillSize), kFirstSectorAngle); }

DiscAnimation::DiscAnimation(QLabel* target, QObject* parent)
    : QObject(parent ? parent : target), target_(target), timer_(new QTimer(this)) {
    setObjectName(QStringLiteral("DiscAnimation"));
    for (int i = 0; i < kDiscFrameCount; ++i) frames_.append(QPixmap::fromImage(drawDiscFrame(i)));
    if (target_) {
        const QPixmap still = QPixmap::fromImage(drawStillDisc());
        target_->setPixmap(still);
        target_->resize(still.size());
    }
    timer_->setObjectName(QStringLiteral("Timer2"));
    timer_->setInterval(kDiscTickMs);
    connect(timer_, &QTimer::timeout, this, &DiscAnimation::tick);
    timer_->start();
}

void DiscAnimation::tick() {
    if (target_) {
        const QPixmap& frame = frames_.at(frameIndex_);
        target_->clear();
        target_->setPixmap(frame);
        target_->resize(frame.size());
        target_->repaint();  // does nothing while the window is hidden
    }
    frameIndex_ = static_cast<quint16>((frameIndex_ + 1) % kDiscFrameCount);
}

}  // namespace tamboro
