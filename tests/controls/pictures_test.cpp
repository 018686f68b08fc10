#include <QLabel>
#include <QTest>
#include <QTimer>

#include "controls/disc_animation.h"
#include "controls/rating_pictures.h"

using namespace tamboro;
using RP = RatingPicture;

Q_DECLARE_METATYPE(RatingPicture)

namespace {

const QColor kGold(0xFF, 0xCC, 0x00);
const QColor kFace(0xD4, 0xD0, 0xC8);

bool isGreen(QRgb c) { return qGreen(c) > qRed(c) + 20 && qGreen(c) > qBlue(c) + 20; }
QImage premultiplied(const QPixmap& pm) { return pm.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied); }

}  // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void ratingChoosesPicture_data() {
        QTest::addColumn<bool>("blank");
        QTest::addColumn<qint64>("value");
        QTest::addColumn<RP>("picture");
        QTest::newRow("blank") << true << qint64(0) << RP::ImgNone;
        for (int n = 0; n <= 5; ++n) QTest::addRow("%d", n) << false << qint64(n) << RP(n);
        for (qint64 n : {-1LL, 6LL, 32767LL, -2147483648LL}) QTest::addRow("%lld", n) << false << n << RP::ImgNone;
    }
    void ratingChoosesPicture() {
        QFETCH(bool, blank);
        QFETCH(qint64, value);
        QFETCH(RP, picture);
        const auto rating = blank ? std::nullopt : std::optional<std::int64_t>(value);
        QCOMPARE(ratingPictureFor(rating), picture);
        const RatingPictures pictures;
        QCOMPARE(pictures.forRating(rating).cacheKey(), pictures.picture(picture).cacheKey());
    }

    // The combo lists "5" first and "0" last; no selection leaves the picture.
    void comboPositionChoosesPicture() {
        QCOMPARE(ratingAtComboPosition(-1), std::nullopt);
        for (int pos = 0; pos <= 5; ++pos) QCOMPARE(ratingPictureFor(ratingAtComboPosition(pos)), RP(5 - pos));
    }

    // Star cells golden in the middle and outlined; the face colour in the
    // corners and in the notches between the points, where a round blob
    // would be golden too.
    void starPicturesAreStarsOnTheFace_data() {
        QTest::addColumn<int>("stars");
        for (int n = 0; n <= 5; ++n) QTest::addRow("%d stars", n) << n;
    }
    void starPicturesAreStarsOnTheFace() {
        QFETCH(int, stars);
        const QImage image = drawRatingPicture(RP(stars));
        QCOMPARE(image.size(), QSize(25 * std::max(stars, 1), 20));
        QCOMPARE(RatingPictures().picture(RP(stars)).size(), image.size());
        for (int x0 = 0; x0 < image.width(); x0 += 25) {
            for (QPoint p : {QPoint(0, 0), QPoint(24, 0), QPoint(0, 19), QPoint(24, 19), QPoint(12, 19), QPoint(4, 14),
                             QPoint(20, 14), QPoint(4, 2), QPoint(20, 2)})
                QCOMPARE(image.pixelColor(p + QPoint(x0, 0)), kFace);
            const bool star = x0 / 25 < stars;
            for (QPoint p : {QPoint(12, 10), QPoint(12, 6), QPoint(8, 9), QPoint(16, 9), QPoint(12, 12)})
                QCOMPARE(image.pixelColor(p + QPoint(x0, 0)), star ? kGold : kFace);
            int dark = 0;
            for (int y = 0; y < 20; ++y)
                for (int x = x0; x < x0 + 25; ++x) dark += QColor(image.pixel(x, y)).lightness() < 100;
            QCOMPARE(dark >= 10, star);
        }
    }

    // Transparent round the disc and in its hole, mostly green, no two frames
    // alike, and the still picture is frame 0 without the extra rows.
    void discFramesAreTurningGreenDiscs() {
        QList<QImage> frames;
        for (int i = 0; i < kDiscFrameCount; ++i) frames << drawDiscFrame(i);
        frames << drawStillDisc();
        for (int i = 0; i < frames.size(); ++i) {
            const QImage& f = frames[i];
            QCOMPARE(f.size(), i == kDiscFrameCount ? QSize(50, 50) : QSize(50, 53));
            const int w = f.width() - 1, h = f.height() - 1;
            for (QPoint p : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h), QPoint(2, 4), QPoint(w / 2, h / 2)})
                QCOMPARE(qAlpha(f.pixel(p)), 0);
            int opaque = 0, green = 0;
            for (int y = 0; y <= h; ++y)
                for (int x = 0; x <= w; ++x)
                    if (qAlpha(f.pixel(x, y)) == 255) ++opaque, green += isGreen(f.pixel(x, y));
            QVERIFY2(opaque > 1500 && green * 2 > opaque, qPrintable(QStringLiteral("frame %1: %2 of %3").arg(i).arg(green).arg(opaque)));
        }
        for (int i = 0; i < kDiscFrameCount; ++i)
            for (int j = i + 1; j < kDiscFrameCount; ++j) QVERIFY(frames[i] != frames[j]);
        QCOMPARE(frames[0].copy(0, 1, 50, 50), frames[kDiscFrameCount]);
    }

    // Still picture and a running 150 ms timer at creation; then each tick
    // shows frame FrameIndex at its size and moves it on, 3 wrapping to 0,
    // while a second animation keeps its own count.
    void ticksShowFramesInTurnAndWrap() {
        QLabel label, other;
        DiscAnimation anim(&label);
        DiscAnimation second(&other);
        QCOMPARE(anim.frameIndex(), quint16(0));
        QCOMPARE(premultiplied(label.pixmap()), drawStillDisc().convertToFormat(QImage::Format_ARGB32_Premultiplied));
        QCOMPARE(label.size(), QSize(50, 50));
        QVERIFY(anim.timer()->isActive());
        QCOMPARE(anim.timer()->interval(), 150);
        QCOMPARE(anim.parent(), &label);
        anim.timer()->stop();
        second.timer()->stop();
        second.tick();
        for (int step = 0; step < 9; ++step) {
            const int frame = step % kDiscFrameCount;
            QCOMPARE(anim.frameIndex(), quint16(frame));
            anim.tick();
            QCOMPARE(premultiplied(label.pixmap()), premultiplied(anim.frames().at(frame)));
            QCOMPARE(label.size(), QSize(50, 53));
        }
        QCOMPARE(anim.frameIndex(), quint16(1));
        QCOMPARE(second.frameIndex(), quint16(1));
    }

    // The timer drives the animation on its own, also while the window is
    // hidden, so a showing carries on where it was.
    void animationGoesOnWhileHidden() {
        QWidget window;
        auto* label = new QLabel(&window);
        DiscAnimation anim(label, &window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(QTest::qWaitFor([&] { return anim.frameIndex() != 0; }, 5000));
        window.hide();
        const quint16 before = anim.frameIndex();
        QVERIFY(QTest::qWaitFor([&] { return anim.frameIndex() != before; }, 5000));
        const int last = (anim.frameIndex() + kDiscFrameCount - 1) % kDiscFrameCount;
        QCOMPARE(premultiplied(label->pixmap()), premultiplied(anim.frames().at(last)));
    }
};

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
