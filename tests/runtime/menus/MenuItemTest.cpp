#include "menus/MenuItem.h"

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

namespace {

Ref<MenuItem> item(const std::string& name, const std::string& text)
{
    Ref<MenuItem> made = makeRef<MenuItem>();
    made->Name(name);
    made->Value(text);
    return made;
}

TEST(MenuItem, LookupFindsItemsAtAnyDepthAndChildOnlyDirectOnes)
{
    Ref<MenuBar> bar = makeRef<MenuBar>();
    Ref<MenuItem> menu = item("AdjustMenu", "Adjust");
    bar->AddMenu(menu);
    Ref<MenuItem> volume = item("AdjustVolDec", "Volume -");
    menu->AddMenu(volume);

    EXPECT_EQ(bar->_Lookup("AdjustVolDec"), volume);
    EXPECT_EQ(bar->_Lookup("AdjustMenu"), menu);
    EXPECT_EQ(bar->Child("AdjustMenu"), menu);
    EXPECT_TRUE(bar->Child("AdjustVolDec").isNil());
    EXPECT_TRUE(bar->_Lookup("Nothing").isNil());
}

TEST(MenuItem, FlagsShowInTheItemsAction)
{
    Ref<MenuItem> menu = item("AdjustMenu", "Adjust");
    Ref<MenuItem> loop = item("AdjustLoop", "Loop");
    Ref<MenuItem> separator = item("UntitledItem", "-");
    menu->AddMenu(loop);
    menu->AddMenu(separator);

    loop->Visible(false);
    loop->Enabled(false);
    loop->Checked(true);
    EXPECT_FALSE(loop->action()->isVisible());
    EXPECT_FALSE(loop->action()->isEnabled());
    EXPECT_TRUE(loop->action()->isChecked());
    EXPECT_TRUE(separator->action()->isSeparator());
    ASSERT_NE(menu->action()->menu(), nullptr);
    EXPECT_EQ(menu->action()->menu()->actions().size(), 2);
}

TEST(MenuItem, StoredShortcutsBecomeKeys)
{
    const struct {
        const char* stored;
        QKeySequence key;
    } cases[] = {
        { "Cmd+Q", QKeySequence(Qt::CTRL | Qt::Key_Q) },
        { "+", QKeySequence(Qt::Key_Plus) },
        { "-", QKeySequence(Qt::Key_Minus) },
        { "", QKeySequence() },
    };
    for (const auto& c : cases) {
        Ref<MenuItem> made = item("Item", "Item");
        made->Shortcut(c.stored);
        EXPECT_EQ(made->Shortcut(), c.stored);
        EXPECT_EQ(made->action()->shortcut(), c.key) << c.stored;
    }
}

} // namespace
