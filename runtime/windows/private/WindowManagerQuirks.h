#pragma once

// Internal to the runtime: what window managers and Qt's platforms do to windows that the
// runtime works around, each in one place, with the test that shows it. The larger workarounds
// are pieces of their own: the frame's place (FramePlacement) and the size kept after a user's
// resize (UserResize).

#include <QPointer>
#include <QWidget>

class QWindow;

// The headless test platforms (offscreen, minimal) activate every window they show, also one that
// asks to be shown without, and cannot raise one (PanelActivation.ShowingThePanelDoesNotActivateIt).
bool headlessPlatform();

// Takes back the activation a headless platform gives a window that was to be shown without it.
class UnaskedActivation {
public:
    // Before `window` is shown without activation.
    void showing(QWidget* window);
    // On `window`'s activation: true when it was the platform's, and the window that was active
    // before has the activation back.
    bool takenBack(QWidget* window);

private:
    bool m_expected = false;
    QPointer<QWidget> m_previous;
};

// A window manager that met a floating window while its parent was not yet managed does not take
// it as the parent's: the parent is said again once it is on screen (floating_test.py).
void setTransientParent(QWindow* window, QWindow* parent);

// The window system reports a maximize in the window's states before Qt's widget has it
// (sizing_test.py).
bool shownMaximized(const QWidget* window);

// New window flags hide a shown window, on every platform (QWidget::setWindowFlags says so): it
// is shown again.
void setWindowFlags(QWidget* window, Qt::WindowFlags flags);
