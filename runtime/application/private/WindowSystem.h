#pragma once

// Internal to the runtime: starting Qt's window system.

class QApplication;

// Makes the application object once, connected to the window system: the platform the person
// chose (QT_QPA_PLATFORM), else X11 when there is an X server (DISPLAY), else Wayland; named, and
// its windows given their icon, as the application's identity says. When the window system
// cannot start (no display, a platform that is missing or cannot connect), writes one line to
// standard error saying what is missing and ends the process with status 1, where Qt would abort.
// Later calls return the application object made the first time.
QApplication* startWindowSystem();
