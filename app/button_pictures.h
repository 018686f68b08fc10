#pragma once
#include <QIcon>

namespace tamboro {

// The pictures of the main window's command buttons (32 x 32) and of its
// calendar button and window icon, drawn when asked for.
enum class ButtonPicture {
    Search,
    ClearSearch,
    SortByNumber,
    SortByTitle,
    SortByGenre,
    NewTitle,
    EditTitle,
    Print,
    Settings,
    Exit,
    Calendar,
    WindowIcon,
};

QIcon buttonPicture(ButtonPicture which);

}  // namespace tamboro
