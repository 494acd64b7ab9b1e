#include "windows/private/WindowManagerQuirks.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWindow>

bool headlessPlatform()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

void UnaskedActivation::showing(QWidget* window)
{
    if (window->isVisible() || !headlessPlatform())
        return;
    m_expected = true;
    m_previous = QApplication::activeWindow();
}

bool UnaskedActivation::takenBack(QWidget* window)
{
    if (!m_expected)
        return false;
    m_expected = false;
    QWidget* previous = m_previous;
    if (previous && previous != window && previous->isVisible())
        previous->activateWindow();
    return true;
}

void setTransientParent(QWindow* window, QWindow* parent)
{
    if (window->transientParent() == parent)
        window->setTransientParent(nullptr);
    window->setTransientParent(parent);
}

bool shownMaximized(const QWidget* window)
{
    return window->isMaximized() || (window->windowHandle() && (window->windowHandle()->windowStates() & Qt::WindowMaximized));
}

void setWindowFlags(QWidget* window, Qt::WindowFlags flags)
{
    const bool wasVisible = window->isVisible();
    window->setWindowFlags(flags);
    if (wasVisible)
        window->show();
}
