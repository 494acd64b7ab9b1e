#include "windows/private/MenuBarHosting.h"

#include "menus/MenuItem.h"

#include <QMainWindow>
#include <QMenuBar>

#include <algorithm>

void hostMenuBar(QMainWindow* window, const Ref<MenuBar>& bar, bool visible)
{
    if (bar) {
        auto* qtBar = new QMenuBar;
        // The bar belongs in the window: this platform has no global menu bar.
        qtBar->setNativeMenuBar(false);
        bar->showIn(qtBar);
        window->setMenuBar(qtBar);
        qtBar->setVisible(visible);
    } else if (window->menuWidget()) {
        window->setMenuBar(nullptr);
    }
}

bool showMenuBar(QMainWindow* window, bool visible)
{
    QWidget* bar = window->menuWidget();
    if (!bar)
        return false;
    bar->setVisible(visible);
    return true;
}

int menuBarHeight(const QMainWindow* window)
{
    auto* bar = qobject_cast<QMenuBar*>(window->menuWidget());
    if (!bar || bar->isHidden())
        return 0;
    // The height the main window's layout gives its menu bar.
    int height = bar->heightForWidth(std::max(window->width(), bar->minimumWidth()));
    if (height < 0)
        height = bar->sizeHint().height();
    return std::clamp(height, std::max(bar->minimumHeight(), bar->minimumSizeHint().height()), bar->maximumHeight());
}
