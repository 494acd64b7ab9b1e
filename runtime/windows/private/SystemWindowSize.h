#pragma once

// Internal to the runtime: what the window system itself holds of a top-level window, where
// Qt's own record can differ from it.

#include <QSize>

#include <optional>

class QWidget;

// The size of the window as the window system has it, in Qt's units; none where it cannot be
// asked (a platform other than X11, a window not yet made). Qt records a size it requested as
// the window's at once, also when the window manager drops the request.
std::optional<QSize> windowSystemSize(QWidget* window);

// Asks the window system again for `size`, whatever Qt believes the window has.
void requestWindowSystemSize(QWidget* window, QSize size);
