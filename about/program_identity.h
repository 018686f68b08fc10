#pragma once
#include <QIcon>
#include <QString>

namespace tamboro {

// The version of this build, "0.1", from the project's version in CMake.
QString programVersion();

// The program's icon at every size it is drawn in, for the window icon of
// every window (the installed icon is the same picture).
QIcon programIcon();

}  // namespace tamboro
