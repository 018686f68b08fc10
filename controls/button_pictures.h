#pragma once
#include <QIcon>

namespace tamboro {

// The pictures of the windows' command buttons (32 x 32), of the calendar
// buttons beside date fields and of the window icon, drawn when asked for.
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
