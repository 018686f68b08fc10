#include "app/winplace.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <array>

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

}  // namespace

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
    const QPoint origin = workAreaOrigin();
    const int width = p.right - p.left;
    const int height = p.bottom - p.top;
    if (width > 0 && height > 0)
        window.setGeometry(p.left + origin.x(), p.top + origin.y(), width, height);
    else  // an empty rectangle would make the window vanish: keep its size
        window.move(p.left + origin.x(), p.top + origin.y());
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

void SavePlacement(QWidget& window, const std::filesystem::path& iniFile, std::string_view section) {
    IniFile ini(iniFile);
    const WindowPlacement p = currentPlacement(window);
    for (const auto& [key, member] : fields()) ini.writeInteger(section, key, p.*member);
}

void RestorePlacement(QWidget& window) { RestorePlacement(window, settingsFile(), placementSection(window)); }

void SavePlacement(QWidget& window) { SavePlacement(window, settingsFile(), placementSection(window)); }

std::filesystem::path settingsFile() {
    const QString exe = QCoreApplication::applicationFilePath();
    return settingsFileFor(std::filesystem::path(exe.toStdU16String()));
}

}  // namespace tamboro
