#pragma once
#include <QRect>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace tamboro {

class IniFile;

// A window's placement as the settings file stores it: flags, show command
// (1 normal, 2 minimised, 3 maximised), minimised and maximised positions,
// and the normal rectangle with exclusive right and bottom edges, all in
// coordinates relative to the primary screen's work area.
struct WindowPlacement {
    int flags = 0;
    int showCmd = 1;
    int minX = -1, minY = -1;
    int maxX = -1, maxY = -1;
    int left = 0, top = 0, right = 0, bottom = 0;
};

inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;
inline constexpr int kRestoreToMaximized = 2;  // flag: a minimised window was maximised

// The window's placement now: normal geometry and window state. The two
// positions Qt has no use for are those last restored, handed back unchanged.
WindowPlacement currentPlacement(const QWidget& window);
// Gives the window that placement (a hidden window takes it when shown). A
// normal rectangle lying off every screen is brought onto the nearest one.
void applyPlacement(QWidget& window, const WindowPlacement& p);

// A window's frame rectangle unchanged while a piece of its top strip, where
// the title bar is, kGrip pixels square lies on one of the areas; otherwise
// moved onto the nearest area keeping its size, shrunk only where it is larger.
inline constexpr int kGrip = 32;
QRect bringOntoScreens(const QRect& rect, const std::vector<QRect>& areas);

// The section a window's placement is kept in: its class name.
std::string placementSection(const QWidget& window);

// Restore and save the window's placement, in the section named after its
// class, in the settings file given.
// Saving writes the file once and throws IniWriteError when it cannot,
// leaving the file as it was.
void RestorePlacement(QWidget& window, const std::filesystem::path& iniFile, std::string_view section);
void SavePlacement(QWidget& window, const std::filesystem::path& iniFile, std::string_view section);
// Sets the ten keys in the file's memory, for a caller that saves more.
void SavePlacement(const QWidget& window, IniFile& ini, std::string_view section);

}  // namespace tamboro
