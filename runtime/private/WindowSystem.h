#pragma once

// Internal to the runtime: starting Qt's window system.

class QApplication;

// Makes the application object, connected to the window system. When the window system
// cannot start (no display, a platform that is missing or cannot connect), writes one line
// to standard error saying why and ends the process with status 1, where Qt would abort.
QApplication* startWindowSystem(int& argc, char** argv);
