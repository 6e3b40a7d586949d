#pragma once
// The pictures on the main window's buttons, drawn in the flat colours of Windows 95.
#include <QIcon>

enum class ButtonPicture {
    Paint,            // PAINT SELECTED: a roller painting a screen
    UpdateStartMenu,  // UPDATE START MENU: an arrow into a Start menu
    NewCategory,      // NEW CATEGORY: a folder with a star
    RenameCategory,   // RENAME CATEGORY: a folder with "ab" and a pencil
    MoveCategory,     // MOVE CATEGORY: a folder with an arrow
    CloneCategory,    // CLONE CATEGORY: two folders
    Delete0,          // DELETE CATEGORY, first picture: a folder crossed out in red
    Delete1,          // DELETE CATEGORY, second picture: a waste bin
    Undo,             // OOPS UNDO: an arrow curving back
    SeeContents,      // SEE CONTENTS: a magnifier over a folder
    VisitLibrary,     // VISIT LIBRARY: books on a shelf
    Capture,          // CAPTURE CURRENT: a camera before a screen
    HelpContents,     // HELP CONTENTS: a book with a question mark
    ByeBye,           // BYE BYE: an arrow out of an open door
};

inline constexpr int ButtonPictureCount = 14;

// The picture in 24 x 24 and, for screens with more pixels per point, 48 x 48. Drawn on the first
// request and kept for the rest of the run; needs the application object to exist.
QIcon PictureFor(ButtonPicture picture);
