#pragma once

#include "object/Object.h"

#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenuBar;

// A menu item; an item with children is a menu. Its flags show at once in every menu bar
// that displays it.
class MenuItem : public Object {
    RUNTIME_OBJECT(MenuItem)
public:
    MenuItem();
    ~MenuItem() override;

    // The runtime's no-argument constructor; the item's set-up is done on creation already.
    void Constructor() { }

    // The key by which handlers are bound and items found.
    const std::string& Name() const { return m_name; }
    void Name(const std::string& name);
    // The text shown; "-" makes the item a separator line.
    const std::string& Value() const { return m_value; }
    void Value(const std::string& text);
    // The shortcut as stored text ("Cmd+Q", "+"); Cmd stands for Ctrl here.
    const std::string& Shortcut() const { return m_shortcut; }
    void Shortcut(const std::string& text);
    bool AutoEnabled() const { return m_autoEnabled; }
    void AutoEnabled(bool autoEnabled) { m_autoEnabled = autoEnabled; }
    bool Visible() const { return m_visible; }
    void Visible(bool visible);
    bool Enabled() const { return m_enabled; }
    void Enabled(bool enabled);
    bool Checked() const { return m_checked; }
    void Checked(bool checked);

    // Appends `item` after the existing children.
    void AddMenu(const Ref<MenuItem>& item);
    // The direct child of that name, or none.
    Ref<MenuItem> Child(const std::string& name) const;
    // The item of that name anywhere below this one, or none.
    Ref<MenuItem> _Lookup(const std::string& name) const;
    int64_t Count() const { return static_cast<int64_t>(m_children.size()); }
    Ref<MenuItem> Item(int64_t index) const;

    // The Qt action that shows this item (a menu's action carries its QMenu).
    QAction* action() const;

protected:
    // Shows the children in a Qt menu bar, and later children too.
    void showChildrenIn(QMenuBar* bar);

private:
    void updateAction();

    std::string m_name;
    std::string m_value;
    std::string m_shortcut;
    bool m_autoEnabled = true;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_checked = false;
    bool m_checkable = false;
    std::vector<Ref<MenuItem>> m_children;
    struct Qt;
    std::unique_ptr<Qt> m_qt;
};

// Runtime side: who takes the command of a chosen menu item, given the item's name and whether it
// is a Quit item. Start-up sets it; until then a choice does nothing.
using MenuCommandHandler = void (*)(const std::string& itemName, bool quitItem);
void setMenuCommandHandler(MenuCommandHandler handler);

// The item that quits the application.
class QuitMenuItem : public MenuItem {
    RUNTIME_OBJECT(QuitMenuItem)
};

// A menu bar: a menu item whose children are the menus.
class MenuBar : public MenuItem {
    RUNTIME_OBJECT(MenuBar)
public:
    // Shows this bar's menus in a Qt menu bar (the main window's).
    void showIn(QMenuBar* bar) { showChildrenIn(bar); }
};
