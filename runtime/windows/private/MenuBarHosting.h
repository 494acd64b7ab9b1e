#pragma once

// Internal to the runtime: a window's menu bar sits in the window, above the content (this
// platform has no global menu bar); the window's size is the content's and the bar's.

#include "object/Ref.h"

class MenuBar;
class QMainWindow;

// Shows the menus of `bar` in a menu bar of the window's own, shown or hidden; an absent bar
// takes the window's away.
void hostMenuBar(QMainWindow* window, const Ref<MenuBar>& bar, bool visible);
// Shows or hides the window's menu bar; false when it has none.
bool showMenuBar(QMainWindow* window, bool visible);
// The height the window's layout gives its menu bar; 0 without one or while it is hidden.
int menuBarHeight(const QMainWindow* window);
