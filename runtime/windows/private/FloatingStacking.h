#pragma once

// Internal to the runtime: floating windows (the panel) stay above the main window. Each is the
// main window's transient, and is raised over it whenever a document window is shown or the
// window manager raises one as it activates it (floating_test.py).

#include <QWidget>

#include <vector>

// Makes `floating` the transient of `main` (none: nothing to do).
void attachToMainWindow(QWidget* floating, QWidget* main);
// Raises each of the shown floating windows `floating` over `main`.
void raiseFloatingWindows(const std::vector<QWidget*>& floating, QWidget* main);
