#pragma once

// Internal to the runtime: a window's resizes that come from outside the application (the user's
// drag of an edge, a maximize, the window manager), told apart from those made by code. A drag
// is over once no resize came for a while. After it, the size the window has by the
// application's last word is asked for again until the window system has taken it: a window
// manager drops size requests while it holds the user's drag (sizing_test.py).

#include <QPointer>
#include <QSize>
#include <QWidget>

#include <functional>

class QTimer;

class UserResize {
public:
    // `dragEnded` is called once a drag has ended.
    UserResize(QWidget* window, std::function<void()> dragEnded);
    ~UserResize();
    UserResize(const UserResize&) = delete;
    UserResize& operator=(const UserResize&) = delete;

    // Held while code changes the window's geometry: resizes meanwhile are the application's.
    class CodeChange {
    public:
        explicit CodeChange(UserResize& resize) : m_resize(resize) { ++m_resize.m_codeChanges; }
        ~CodeChange() { --m_resize.m_codeChanges; }
        CodeChange(const CodeChange&) = delete;
        CodeChange& operator=(const CodeChange&) = delete;

    private:
        UserResize& m_resize;
    };
    // Notes the window's size as code left it.
    void noteSizeFromCode();
    // True, and the new size noted, when the window's size changed from outside the application.
    bool changedFromOutside();

    // A resize that is part of a drag: the wait for the drag's end starts again.
    void dragging();
    // True while a drag is going on.
    bool inDrag() const;
    // Ends a drag without its end being reported (a maximize, the window closed).
    void stopDrag();

    // After a drag's end: asks for the window's size again until the window system has it.
    void keepSize();
    void stopKeepingSize();

private:
    void checkSize();

    QPointer<QWidget> m_window;
    std::function<void()> m_dragEnded;
    QTimer* m_dragEnd;
    QTimer* m_sizeCheck;
    int m_sizeChecksLeft = 0;
    int m_codeChanges = 0;
    // The window's size as the runtime last knew it.
    QSize m_knownSize;
};
