#include "windows/WindowList.h"

#include "windows/Window.h"

#include <QWidget>

#include <algorithm>

namespace {

// Never destroyed: windows left open at exit must not be taken down after parts of Qt are gone.
std::vector<Ref<Window>>& windows()
{
    static auto* open = new std::vector<Ref<Window>>;
    return *open;
}

} // namespace

Ref<Window> RuntimeGetImplicitWindow(const std::string& className)
{
    for (const Ref<Window>& window : windows()) {
        if (window->classRecord().name == className)
            return window;
    }
    return nullptr;
}

void addOpenWindow(const Ref<Window>& window)
{
    windows().push_back(window);
}

void removeOpenWindow(const Window& window)
{
    auto& open = windows();
    auto found = std::find_if(open.begin(), open.end(), [&](const Ref<Window>& w) { return w.raw() == &window; });
    if (found == open.end())
        return;
    // Released outside the list: the window's destructor may call back into the runtime.
    Ref<Window> keep = *found;
    open.erase(found);
}

const std::vector<Ref<Window>>& openWindows()
{
    return windows();
}

Window* mainWindow()
{
    for (const Ref<Window>& window : windows()) {
        // A window being closed is still in the list while it hides.
        if (window->Type() == 0 && !window->closed() && window->qtWidget())
            return window.raw();
    }
    return nullptr;
}

QWidget* mainWindowWidget()
{
    Window* main = mainWindow();
    return main ? main->qtWidget() : nullptr;
}

std::vector<QWidget*> shownFloatingWindows()
{
    std::vector<QWidget*> floating;
    for (const Ref<Window>& window : windows()) {
        QWidget* widget = window->qtWidget();
        if (window->isFloating() && !window->closed() && widget && widget->isVisible())
            floating.push_back(widget);
    }
    return floating;
}

void releaseOpenWindows()
{
    std::vector<Ref<Window>> released = std::move(windows());
    windows().clear();
    released.clear();
}
