#pragma once
#include <QImage>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>

class QLabel;
class QTimer;

namespace tamboro {

inline constexpr int kDiscFrameCount = 4;
inline constexpr int kDiscFrameWidth = 50;
inline constexpr int kDiscFrameHeight = 53;
inline constexpr int kDiscStillSize = 50;
inline constexpr int kDiscTickMs = 150;

// Frame `index` (0 to 3) of the turning disc: a green disc with a white
// centre and two light sectors standing a quarter of their half-turn further
// on in each frame, transparent outside the disc and in its hole.
QImage drawDiscFrame(int index);

// The 50 x 50 disc shown before the animation's first tick.
QImage drawStillDisc();

// Turns the disc in a label: the label shows the still disc at once; from
// then on every 150 ms, shown or hidden, it shows the next of the four
// frames, taking the frame's size. Each window owns its own animation, with
// its own timer and frame counter.
class DiscAnimation : public QObject {
    Q_OBJECT
public:
    // Drives `target`; the animation is a child of `parent` (by default the
    // target) and stops with it.
    explicit DiscAnimation(QLabel* target, QObject* parent = nullptr);

    // The next frame to show, 0 to 3; 0 before the first tick.
    quint16 frameIndex() const { return frameIndex_; }
    QTimer* timer() const { return timer_; }
    const QList<QPixmap>& frames() const { return frames_; }

public slots:
    // One step: the target shows frame FrameIndex, repainted at once, and the
    // index moves on, from 3 back to 0.
    void tick();

private:
    QPointer<QLabel> target_;
    QTimer* timer_;
    QList<QPixmap> frames_;
    quint16 frameIndex_ = 0;
};

}  // namespace tamboro
