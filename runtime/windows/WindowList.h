#pragma once

#include "object/Ref.h"

#include <string>
#include <vector>

class QWidget;
class Window;

// The open windows, in the order their construction began: a window is open from the start of
// its construction until it is closed, and the runtime holds it meanwhile. The first open
// document window is the main window.

// The open window of the named class ("wFlag.wFlag"), also while it is being constructed.
Ref<Window> RuntimeGetImplicitWindow(const std::string& className);

// Runtime side: holds `window` as open, and forgets it once it is closed.
void addOpenWindow(const Ref<Window>& window);
void removeOpenWindow(const Window& window);
// Runtime side: the open windows, in order.
const std::vector<Ref<Window>>& openWindows();
// Runtime side: the main window, or none.
Window* mainWindow();
// Runtime side: the main window's widget, or none; the widgets of the floating windows shown.
QWidget* mainWindowWidget();
std::vector<QWidget*> shownFloatingWindows();
// Runtime side: lets go of every open window, for the process to end.
void releaseOpenWindows();
