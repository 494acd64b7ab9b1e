#pragma once

// Internal to the runtime: a window's Qt widgets, which report to the window what the window
// system does to it.

#include "object/Ref.h"
#include "windows/Control.h"
#include "windows/Rect.h"

#include <QMainWindow>
#include <QRegion>
#include <QWidget>

#include <vector>

class Graphics;

// What the window system does to a window, as its widgets report it.
class WindowSystemEvents {
public:
    virtual void activated() = 0;
    virtual void mouseEntered() = 0;
    virtual void mouseLeft() = 0;
    // The window moved or was resized, by anyone; resized() follows a resize.
    virtual void frameChanged() = 0;
    virtual void resized() = 0;
    // Maximized, minimized, made full-screen or back.
    virtual void stateChanged() = 0;
    // The close box; true lets the window close.
    virtual bool closing() = 0;
    // Return, Enter or Escape, when the focused control had no use for it; true when the window
    // took it.
    virtual bool keyPressed(WindowKey key) = 0;
    // True when the window draws its content in a Paint event, which paint() raises.
    virtual bool paints() const = 0;
    virtual void paint(const Ref<Graphics>& graphics, const std::vector<Rect>& areas) = 0;

protected:
    ~WindowSystemEvents() = default;
};

// The window itself: a main window, whose menu bar sits above the content.
class WindowWidget : public QMainWindow {
public:
    explicit WindowWidget(WindowSystemEvents* owner);

    // From now on nothing is reported: the window is going.
    void detach() { m_owner = nullptr; }
    bool attached() const { return m_owner != nullptr; }

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    WindowSystemEvents* m_owner;
};

// The content area below the menu bar; the controls sit in it and the Paint event draws on it.
class WindowContentWidget : public QWidget {
public:
    explicit WindowContentWidget(WindowSystemEvents* owner);

    void detach() { m_owner = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    friend void noteControlRepaint(QWidget* control);

    WindowSystemEvents* m_owner;
    Ref<Graphics> m_graphics;
    // What controls asked to repaint of themselves since the last paint.
    QRegion m_controlRepaints;
};

// Notes that a control asked for its own repaint: the window's Paint event is for the window
// system's requests of the window's content, not for what Qt repaints beneath a see-through
// control that redraws itself.
void noteControlRepaint(QWidget* control);
