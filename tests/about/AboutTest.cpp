#include "AppTestSupport.h"

#include "application/Runtime.h"
#include "StandInOpener.h"
#include "wAbout.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace {

const std::string kWebLink = "https://www.corvala.example/";
const std::string kButtonMailLink = "mailto:author@corvala.example?subject=suggestion on Cor Vala web site";
const std::string kMenuMailLink = "mailto:author@corvala.example?subject=suggestion on Corvala web site";

Ref<Window> openAboutWindow()
{
    return RuntimeGetImplicitWindow("wAbout.wAbout");
}

// Chooses "This software" and gives the about window it brought up.
Ref<class wAbout> chooseThisSoftware()
{
    EXPECT_TRUE(test::chooseMenuItem("AboutThissoftware"));
    Ref<Window> window = openAboutWindow();
    EXPECT_TRUE(window);
    EXPECT_TRUE(window && window->qtWidget()->isVisible());
    return RuntimeCheckCast<class wAbout>(window);
}

void click(const Ref<PushButton>& button)
{
    QTest::mouseClick(button->widget(), Qt::LeftButton);
}

// What the user sees of an about window, to tell a fresh one from its design.
struct Look {
    std::string title;
    int64_t left, top, width, height;
    std::vector<std::tuple<std::string, QRect, std::string>> controls;
    bool operator==(const Look&) const = default;
};

Look lookOf(class wAbout& about)
{
    Look look { about.Title(), about.Left(), about.Top(), about.Width(), about.Height(), {} };
    for (const Ref<Label>& label : { about.sTextURL(), about.sTextMail(), about.sTextIntro(), about.sTextAuth() })
        look.controls.emplace_back(label->Name(), label->widget()->geometry(), label->Value());
    for (const Ref<PushButton>& button : { about.bWeb(), about.bMail(), about.bRtn() })
        look.controls.emplace_back(button->Name(), button->widget()->geometry(), button->Caption());
    return look;
}

TEST(AboutWindow, ReturnAndEnterPressOK)
{
    test::launchApplication();
    for (Qt::Key key : { Qt::Key_Return, Qt::Key_Enter }) {
        SCOPED_TRACE(key);
        Ref<class wAbout> about = chooseThisSoftware();
        ASSERT_TRUE(QTest::qWaitForWindowActive(about->qtWidget()));
        // The key goes where the keyboard focus is, as the user's would.
        QWidget* focus = QApplication::focusWidget();
        QWidget* target = focus && focus->window() == about->qtWidget() ? focus : about->qtWidget();
        QTest::keyClick(target, key);
        EXPECT_FALSE(about->qtWidget()->isVisible()) << "OK hid the window";
        EXPECT_EQ(openAboutWindow(), about) << "hidden, not closed";
    }
}

TEST(AboutWindow, ThisSoftwareGivesTheOneWindowWhetherShownOrHidden)
{
    test::launchApplication();
    EXPECT_FALSE(openAboutWindow()) << "nothing refers to it before the first command";

    Ref<class wAbout> about = chooseThisSoftware();
    Ref<PushButton> ok = about->bRtn();
    EXPECT_EQ(chooseThisSoftware(), about) << "while shown";

    click(ok);
    EXPECT_FALSE(about->qtWidget()->isVisible());
    EXPECT_EQ(chooseThisSoftware(), about) << "while hidden";
    EXPECT_EQ(about->bRtn(), ok) << "the hidden window kept its controls";
}

TEST(AboutWindow, AfterTheCloseBoxThisSoftwareBuildsAFreshOneFromTheDesign)
{
    test::launchApplication();
    Ref<class wAbout> first = chooseThisSoftware();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(first->qtWidget()));
    const Look look = lookOf(*first);
    WeakRef<class wAbout> old = first;

    first->qtWidget()->close();
    EXPECT_FALSE(openAboutWindow()) << "closed and discarded";
    first = nullptr;
    EXPECT_TRUE(old.expired()) << "nothing keeps the closed window";

    Ref<class wAbout> fresh = chooseThisSoftware();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fresh->qtWidget()));
    EXPECT_EQ(lookOf(*fresh), look) << "the same design, in the same place";

    // End as main does: left to the exit handlers, the open windows go after parts of Qt
    // they need, which crashes once a window has been discarded during the run.
    fresh = nullptr;
    RuntimePerformFinalizers();
}

TEST(AboutLinks, EachHandsItsLinkUnchangedToTheDesktop)
{
    struct Case {
        const char* what;
        std::function<void(class wAbout&)> take;
        const std::string& link;
        bool aboutStaysShown;
    };
    const Case cases[] = {
        { "the Visit web site button", [](class wAbout& about) { click(about.bWeb()); }, kWebLink, false },
        { "the Send a mail button", [](class wAbout& about) { click(about.bMail()); }, kButtonMailLink, false },
        { "the Visit Web Site command", [](class wAbout&) { ASSERT_TRUE(test::chooseMenuItem("AboutVisitWebSite")); }, kWebLink, true },
        { "the Mail to Author command", [](class wAbout&) { ASSERT_TRUE(test::chooseMenuItem("AboutMailtoAuthor")); }, kMenuMailLink, true },
    };
    test::StandInOpener opener;
    test::launchApplication();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ref<class wAbout> about = chooseThisSoftware();
        c.take(*about);
        EXPECT_EQ(opener.nextArgument(), c.link);
        EXPECT_EQ(about->qtWidget()->isVisible(), c.aboutStaysShown);
    }

    // The window shows the same address and mail address the links carry.
    Ref<class wAbout> about = wAbout();
    EXPECT_EQ(about->sTextURL()->Value(), kWebLink);
    const std::string address = kButtonMailLink.substr(7, kButtonMailLink.find('?') - 7);
    EXPECT_EQ(about->sTextMail()->Value().substr(about->sTextMail()->Value().size() - address.size() - 8), "E-mail: " + address);
}

} // namespace
