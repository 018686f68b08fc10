#include "controls/caption_db_navi_glyphs.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <stdexcept>

// The resource initialiser lives in the global namespace; a static library
// needs it called, or the linker leaves the images out.
static void initNavigatorImages() { Q_INIT_RESOURCE(navigator); }

namespace tamboro {
namespace {

constexpr const char* kImageFolder = ":/navigator";

// Decoded once per file and run; QImage is safe to keep past the application object.
QHash<QString, QImage>& imageCache() {
    static QHash<QString, QImage> cache;
    return cache;
}

QString findImageFile(const QString& name) {
    static const bool loaded = (initNavigatorImages(), true);
    (void)loaded;
    const QDir dir(QString::fromLatin1(kImageFolder));
    for (const QString& file : dir.entryList(QDir::Files))
        if (QFileInfo(file).completeBaseName().compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(file);
    return {};
}

QImage withoutKeyColour(const QImage& half, QRgb key) {
    QImage out = half.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (qAlpha(line[x]) == 0 || (line[x] | 0xff000000u) == key) line[x] = 0;
    }
    return out;
}

}  // namespace

QImage loadNaviImage(const QString& name) {
    const QString file = findImageFile(name);
    auto& cache = imageCache();
    if (auto it = cache.constFind(file); !file.isEmpty() && it != cache.constEnd()) return *it;
    QImage image;
    if (file.isEmpty() || !image.load(file))
        throw std::runtime_error("navigator image '" + name.toStdString() + "' not found");
    cache.insert(file, image);
    return image;
}

NaviGlyph splitNaviGlyph(const QImage& picture) {
    if (picture.isNull() || picture.height() <= 0) return {};
    const QRgb key = picture.pixel(0, picture.height() - 1) | 0xff000000u;
    if (picture.width() < 2) {
        const QImage whole = withoutKeyColour(picture, key);
        return {whole, whole};
    }
    const int half = picture.width() / 2;
    return {withoutKeyColour(picture.copy(0, 0, half, picture.height()), key),
            withoutKeyColour(picture.copy(half, 0, half, picture.height()), key)};
}

}  // namespace tamboro
