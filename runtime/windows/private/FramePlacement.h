#pragma once

// Internal to the runtime: where a window's frame stands on the screen. Left and Top are the
// frame's top-left corner, before the window manager has framed the window and after.

#include <QMargins>
#include <QPoint>
#include <QPointer>
#include <QWidget>

class FramePlacement {
public:
    explicit FramePlacement(QWidget* window);

    // The frame's top-left corner on the screen.
    QPoint position() const;
    // Moves the frame's top-left corner to `position`.
    void moveTo(QPoint position);
    // Centres the frame on the main screen's free area.
    void centreOnScreen();
    // Notes the frame the window manager has put round the shown window; call it on every move
    // and resize, and before the window is hidden.
    void noteFrame();

private:
    // True when Qt knows the window's frame, or the window is not made yet (Qt then takes a
    // position given to it as the frame's).
    bool framedNow() const;
    // The frame the window will have once the window manager frames it.
    QMargins expectedFrame() const;

    QPointer<QWidget> m_window;
    // The frame the window manager put round the window when it last showed it.
    QMargins m_frame;
};
