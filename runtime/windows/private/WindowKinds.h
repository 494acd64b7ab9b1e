#pragma once

// Internal to the runtime: a window's kind (its Type) and the title-bar buttons it asks for, as
// Qt's window flags.

#include <Qt>

#include <cstdint>

// The title-bar buttons a window offers.
struct TitleBarButtons {
    bool close;
    bool minimize;
    bool maximize;
    bool fullScreen;
};

// Type 0 is a document window; 1, 2 and 8 dialog-like; 3 floating; 4 to 6 frameless; 7 floating
// above every application. A frameless window has no title bar and so no buttons.
Qt::WindowFlags windowFlagsOf(int64_t type, TitleBarButtons buttons);
// Floating windows stay above the main window, out of the task bar, shown without activation.
bool isFloatingKind(int64_t type);
// Only type 2 keeps the rest of the application from input while it is shown.
Qt::WindowModality modalityOf(int64_t type);
