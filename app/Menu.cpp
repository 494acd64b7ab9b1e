#include "Menu.h"

#include "App.h"

#include <string>

namespace {

struct ItemDesign {
    const char* name;
    const char* text;
    const char* shortcut;
    bool autoEnabled = true;
    bool quits = false;
};

constexpr const char* kSeparator = "-";

void appendItems(class Menu& bar, const ItemDesign& menuDesign, std::initializer_list<ItemDesign> items)
{
    Ref<MenuItem> menu = makeRef<MenuItem>();
    menu->Constructor();
    menu->Name(menuDesign.name);
    menu->AutoEnabled(menuDesign.autoEnabled);
    menu->Value(menuDesign.text);
    menu->Visible(true);
    menu->Shortcut(menuDesign.shortcut);
    bar.AddMenu(menu);

    for (const ItemDesign& design : items) {
        Ref<MenuItem> item = design.quits ? Ref<MenuItem>(makeRef<QuitMenuItem>()) : makeRef<MenuItem>();
        item->Constructor();
        item->Name(design.name);
        item->AutoEnabled(design.autoEnabled);
        item->Value(design.text);
        item->Visible(true);
        if (std::string(design.text) != kSeparator)
            item->Shortcut(design.shortcut);
        bar.Child(menuDesign.name)->AddMenu(item);
    }
}

} // namespace

RUNTIME_CLASS_RECORD(Menu, "Menu.Menu", MenuBar)

Ref<class Menu> Menu::_implicitInstance;

void Menu::Constructor()
{
    Untitled0();
    Untitled1();
}

void Menu::Untitled0()
{
    appendItems(*this, { "AdjustMenu", "Adjust", "" }, {
        { "AdjustShowPanel", "Show Panel", "" },
        { "AdjustHidePanel", "Hide Panel", "" },
        { "AdjustStopAnimation", "Stop Animation", "", false },
        { "AdjustContinueAnimation", "Continue Animation", "", false },
        { "UntitledSeparator", kSeparator, "" },
        { "AdjustMusicOn", "Music On", "" },
        { "AdjustMusicOff", "Music Off", "" },
        { "AdjustLoop", "Loop", "" },
        { "AdjustVolInc", "Volume +", "+" },
        { "AdjustVolDec", "Volume -", "-" },
        { "UntitledItem", kSeparator, "" },
        { "FileQuit", "Exit", "Cmd+Q", true, true },
    });
}

void Menu::Untitled1()
{
    appendItems(*this, { "AboutMenu", "About", "" }, {
        { "AboutThissoftware", "This software", "" },
        { "AboutVisitWebSite", "Visit Web Site", "" },
        { "AboutMailtoAuthor", "Mail to Author", "" },
    });
}

Ref<class Menu> Menu()
{
    if (Menu::_implicitInstance)
        return Menu::_implicitInstance;
    // A bar whose building fails is dropped; the next call starts again.
    Ref<class Menu> bar = RuntimeCheckCast<class Menu>(RuntimeNewObject(Menu::staticClassRecord()));
    bar->Constructor();
    Menu::_implicitInstance = bar;
    return bar;
}

namespace {

Ref<MenuItem> applicationMenuItem(const char* name)
{
    return App()->MenuBar()->_Lookup(name);
}

} // namespace

Ref<MenuItem> AdjustShowPanel() { return applicationMenuItem("AdjustShowPanel"); }
Ref<MenuItem> AdjustHidePanel() { return applicationMenuItem("AdjustHidePanel"); }
Ref<MenuItem> AdjustStopAnimation() { return applicationMenuItem("AdjustStopAnimation"); }
Ref<MenuItem> AdjustContinueAnimation() { return applicationMenuItem("AdjustContinueAnimation"); }
Ref<MenuItem> AdjustMusicOn() { return applicationMenuItem("AdjustMusicOn"); }
Ref<MenuItem> AdjustLoop() { return applicationMenuItem("AdjustLoop"); }
Ref<MenuItem> AdjustVolInc() { return applicationMenuItem("AdjustVolInc"); }
Ref<MenuItem> AdjustVolDec() { return applicationMenuItem("AdjustVolDec"); }
