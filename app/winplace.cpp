#include "app/winplace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cstdint>

#include "app/ini_file.h"

namespace tamboro {
namespace {

constexpr const char* kMinPosProperty = "tamboroPlaceMinPos";
constexpr const char* kMaxPosProperty = "tamboroPlaceMaxPos";

// Workspace coordinates are relative to the primary screen's work area.
QPoint workAreaOrigin() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().topLeft() : QPoint();
}

// The ten keys in the order they are read and written.
std::array<std::pair<const char*, int WindowPlacement::*>, 10> fields() {
    return {{{"PlaceFlags", &WindowPlacement::flags},
             {"PlaceShowCmd", &WindowPlacement::showCmd},
             {"PlaceMinPos.X", &WindowPlacement::minX},
             {"PlaceMinPos.Y", &WindowPlacement::minY},
             {"PlaceMaxPos.X", &WindowPlacement::maxX},
             {"PlaceMaxPos.Y", &WindowPlacement::maxY},
             {"PlaceNormalPos.Left", &WindowPlacement::left},
             {"PlaceNormalPos.Top", &WindowPlacement::top},
             {"PlaceNormalPos.Right", &WindowPlacement::right},
             {"PlaceNormalPos.Bottom", &WindowPlacement::bottom}}};
}

// The area every screen offers to windows, in global coordinates.
std::vector<QRect> availableAreas() {
    std::vector<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) areas.push_back(screen->availableGeometry());
    return areas;
}

// Far beyond any screen yet safe from overflow in QRect's arithmetic: an
// edited file may hold any 32-bit value.
constexpr int64_t kFar = 1 << 24;

int clampFar(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -kFar, kFar)); }

// The distance, squared, between two rectangles; 0 when they overlap.
int64_t gapSquared(const QRect& a, const QRect& b) {
    const int64_t dx = std::max<int64_t>({0, int64_t(b.left()) - a.right(), int64_t(a.left()) - b.right()});
    const int64_t dy = std::max<int64_t>({0, int64_t(b.top()) - a.bottom(), int64_t(a.top()) - b.bottom()});
    return dx * dx + dy * dy;
}

// The frame's width on each side of the window; unknown until it is shown.
QMargins frameMargins(const QWidget& window) {
    if (!window.isVisible()) return {};
    const QRect inner = window.geometry();
    const QRect outer = window.frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// The stored normal rectangle in global coordinates, on a screen; an empty
// one keeps the window's size, as a vanished window helps no one.
QRect normalRectangle(const QWidget& window, const WindowPlacement& p) {
    const QPoint origin = workAreaOrigin();
    const int64_t width = int64_t(p.right) - p.left;
    const int64_t height = int64_t(p.bottom) - p.top;
    const QSize size = width > 0 && height > 0 ? QSize(clampFar(width), clampFar(height)) : window.size();
    QRect rect(QPoint(clampFar(int64_t(p.left) + origin.x()), clampFar(int64_t(p.top) + origin.y())), size);
    // The frame counts: its title bar is what the user grabs.
    const QMargins frame = frameMargins(window);
    return bringOntoScreens(rect + frame, availableAreas()) - frame;
}

}  // namespace

QRect bringOntoScreens(const QRect& rect, const std::vector<QRect>& areas) {
    // The top strip holds the title bar: as long as enough of it shows, the
    // user can see the window and drag it wherever it should be.
    const QSize grip(std::min(rect.width(), kGrip), std::min(rect.height(), kGrip));
    const QRect titleStrip(rect.topLeft(), QSize(rect.width(), grip.height()));
    for (const QRect& area : areas) {
        const QRect shown = titleStrip & area;
        if (shown.width() >= grip.width() && shown.height() >= grip.height()) return rect;
    }
    if (areas.empty()) return rect;
    const QRect& area = *std::min_element(areas.begin(), areas.end(), [&](const QRect& a, const QRect& b) {
        return gapSquared(rect, a) < gapSquared(rect, b);
    });
    const QSize size = rect.size().boundedTo(area.size());
    const int x = std::clamp(rect.left(), area.left(), area.left() + area.width() - size.width());
    const int y = std::clamp(rect.top(), area.top(), area.top() + area.height() - size.height());
    return QRect(QPoint(x, y), size);
}

WindowPlacement currentPlacement(const QWidget& window) {
    WindowPlacement p;
    const Qt::WindowStates state = window.windowState();
    if (state & Qt::WindowMinimized) {
        p.showCmd = kShowMinimized;
        if (state & Qt::WindowMaximized) p.flags |= kRestoreToMaximized;
    } else if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        p.showCmd = kShowMaximized;
    }
    if (QVariant v = window.property(kMinPosProperty); v.isValid()) {
        p.minX = v.toPoint().x();
        p.minY = v.toPoint().y();
    }
    if (QVariant v = window.property(kMaxPosProperty); v.isValid()) {
        p.maxX = v.toPoint().x();
        p.maxY = v.toPoint().y();
    }
    const QRect normal = window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
    const QPoint origin = workAreaOrigin();
    p.left = normal.x() - origin.x();
    p.top = normal.y() - origin.y();
    p.right = p.left + normal.width();
    p.bottom = p.top + normal.height();
    return p;
}

void applyPlacement(QWidget& window, const WindowPlacement& p) {
    window.setProperty(kMinPosProperty, QPoint(p.minX, p.minY));
    window.setProperty(kMaxPosProperty, QPoint(p.maxX, p.maxY));

    Qt::WindowStates target = Qt::WindowNoState;
    if (p.showCmd == kShowMaximized) {
        target = Qt::WindowMaximized;
    } else if (p.showCmd == kShowMinimized || p.showCmd == 6 || p.showCmd == 7) {
        // The three minimising show commands; the flag says what a restore returns to.
        target = Qt::WindowMinimized;
        if (p.flags & kRestoreToMaximized) target |= Qt::WindowMaximized;
    }
    // The normal rectangle is set in the normal state so that a maximised
    // window returns to it when restored.
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
        window.setWindowState(Qt::WindowNoState);
    window.setGeometry(normalRectangle(window, p));
    if (target != Qt::WindowNoState) window.setWindowState(target);
}

std::string placementSection(const QWidget& window) {
    std::string name = window.metaObject()->className();
    const size_t colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

void RestorePlacement(QWidget& window, const std::filesystem::path& iniFile, std::string_view section) {
    const IniFile ini(iniFile);
    WindowPlacement p = currentPlacement(window);
    for (const auto& [key, member] : fields()) p.*member = ini.readInteger(section, key, p.*member);
    applyPlacement(window, p);
}

void SavePlacement(const QWidget& window, IniFile& ini, std::string_view section) {
    const WindowPlacement p = currentPlacement(window);
    for (const auto& [key, member] : fields()) ini.setInteger(section, key, p.*member);
}

void SavePlacement(QWidget& window, const std::filesystem::path& iniFile, std::string_view section) {
    IniFile ini(iniFile);
    SavePlacement(window, ini, section);
    ini.save();
}

}  // namespace tamboro
