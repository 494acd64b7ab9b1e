#include "menus/MenuItem.h"

#include "application/EventDelivery.h"
#include "qt/QtSupport.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

struct MenuItem::Qt {
    Qt() = default;
    ~Qt()
    {
        disposeQtObject(menu);
        disposeQtObject(action);
    }
    Qt(const Qt&) = delete;
    Qt& operator=(const Qt&) = delete;

    QAction* action = new QAction;
    QMenu* menu = nullptr;
    std::vector<QPointer<QMenuBar>> shownIn;
};

namespace {

MenuCommandHandler commandHandler = nullptr;

QKeySequence keySequence(const std::string& shortcut)
{
    // A bare "+" or "-" would read as a key-combination separator.
    if (shortcut == "+")
        return QKeySequence(::Qt::Key_Plus);
    if (shortcut == "-")
        return QKeySequence(::Qt::Key_Minus);
    QString text = QString::fromStdString(shortcut);
    text.replace("Cmd+", "Ctrl+");
    return QKeySequence::fromString(text, QKeySequence::PortableText);
}

} // namespace

void setMenuCommandHandler(MenuCommandHandler handler)
{
    commandHandler = handler;
}

RUNTIME_CLASS_RECORD(MenuItem, "MenuItem", Object)
RUNTIME_CLASS_RECORD(QuitMenuItem, "QuitMenuItem", MenuItem)
RUNTIME_CLASS_RECORD(MenuBar, "MenuBar", MenuItem)

MenuItem::MenuItem()
    : m_qt(std::make_unique<Qt>())
{
    // The menu bar belongs to the application: its keys act in every window of it.
    m_qt->action->setShortcutContext(::Qt::ApplicationShortcut);
    QObject::connect(m_qt->action, &QAction::triggered, m_qt->action, [this] {
        std::string name = m_name;
        bool quits = classRecord().isA(QuitMenuItem::staticClassRecord());
        if (MenuCommandHandler handler = commandHandler)
            RuntimeDeliver([handler, &name, quits] { handler(name, quits); });
        // Qt toggles a checkable action by itself; the item's own flag decides.
        updateAction();
    });
}

MenuItem::~MenuItem() = default;

void MenuItem::Name(const std::string& name)
{
    m_name = name;
    m_qt->action->setObjectName(QString::fromStdString(name));
}

void MenuItem::Value(const std::string& text)
{
    m_value = text;
    const bool separator = text == "-";
    // A separator's text would be drawn beside its line.
    m_qt->action->setText(separator ? QString() : QString::fromStdString(text));
    m_qt->action->setSeparator(separator);
    if (m_qt->menu)
        m_qt->menu->setTitle(QString::fromStdString(text));
}

void MenuItem::Shortcut(const std::string& text)
{
    m_shortcut = text;
    m_qt->action->setShortcut(keySequence(text));
}

void MenuItem::Visible(bool visible)
{
    m_visible = visible;
    updateAction();
}

void MenuItem::Enabled(bool enabled)
{
    m_enabled = enabled;
    updateAction();
}

void MenuItem::Checked(bool checked)
{
    m_checked = checked;
    // An item whose check mark code sets keeps its place for the mark from then on, so it
    // looks the same unchecked before and after.
    m_checkable = true;
    updateAction();
}

void MenuItem::updateAction()
{
    QAction* action = m_qt->action;
    action->setVisible(m_visible);
    action->setEnabled(m_enabled);
    action->setCheckable(m_checkable);
    action->setChecked(m_checked);
}

void MenuItem::AddMenu(const Ref<MenuItem>& item)
{
    QAction* childAction = item->action();
    if (classRecord().isA(MenuBar::staticClassRecord())) {
        for (const QPointer<QMenuBar>& bar : m_qt->shownIn) {
            if (bar)
                bar->addAction(childAction);
        }
    } else {
        if (!m_qt->menu) {
            m_qt->menu = new QMenu(QString::fromStdString(m_value));
            m_qt->menu->setObjectName(QString::fromStdString(m_name));
            m_qt->action->setMenu(m_qt->menu);
        }
        m_qt->menu->addAction(childAction);
    }
    m_children.push_back(item);
}

Ref<MenuItem> MenuItem::Child(const std::string& name) const
{
    for (const Ref<MenuItem>& child : m_children) {
        if (child->Name() == name)
            return child;
    }
    return nullptr;
}

Ref<MenuItem> MenuItem::_Lookup(const std::string& name) const
{
    for (const Ref<MenuItem>& child : m_children) {
        if (child->Name() == name)
            return child;
        if (Ref<MenuItem> found = child->_Lookup(name))
            return found;
    }
    return nullptr;
}

Ref<MenuItem> MenuItem::Item(int64_t index) const
{
    if (index < 0 || index >= Count())
        throw OutOfBoundsException("menu item index out of range");
    return m_children[static_cast<size_t>(index)];
}

QAction* MenuItem::action() const
{
    return m_qt->action;
}

void MenuItem::showChildrenIn(QMenuBar* bar)
{
    bar->clear();
    for (const Ref<MenuItem>& child : m_children)
        bar->addAction(child->action());
    m_qt->shownIn.push_back(bar);
}
