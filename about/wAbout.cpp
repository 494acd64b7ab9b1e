#include "wAbout.h"

#include "AboutDesigns.h"
#include "application/Runtime.h"
#include "ControlBuilding.h"
#include "Links.h"
#include "system/ShowURL.h"

#include <string>

namespace {

const std::string& aboutMailLink()
{
    static const std::string link = std::string("mailto:") + kAuthorMailAddress + "?subject=suggestion on Cor Vala web site";
    return link;
}

} // namespace

RUNTIME_CLASS_RECORD(wAbout, "wAbout.wAbout", Window)

wAbout::wAbout()
{
    bind(WindowEvent::Layout, &wAbout::Layout);
    bind(WindowEvent::CreateControls, &wAbout::CreateControls);
}

void wAbout::Layout()
{
    RuntimeMassPropertySetter(*this, wAboutDesign());
}

void wAbout::CreateControls()
{
    _CreateControls0();
}

void wAbout::_CreateControls0()
{
    addDesignedControl<Label>(*this, "sTextURL", sTextURLDesign());
    addDesignedControl<PushButton>(*this, "bWeb", bWebDesign());
    bindControlEvent<PushButton, &wAbout::bWeb_Action>(*this, "bWeb", kActionEvent, "( PushButton )");
    addDesignedControl<PushButton>(*this, "bMail", bMailDesign());
    bindControlEvent<PushButton, &wAbout::bMail_Action>(*this, "bMail", kActionEvent, "( PushButton )");
    addDesignedControl<PushButton>(*this, "bRtn", bRtnDesign());
    bindControlEvent<PushButton, &wAbout::bRtn_Action>(*this, "bRtn", kActionEvent, "( PushButton )");
    addDesignedControl<Label>(*this, "sTextMail", sTextMailDesign());
    addDesignedControl<Label>(*this, "sTextIntro", sTextIntroDesign());
    addDesignedControl<Label>(*this, "sTextAuth", sTextAuthDesign());
}

Ref<Label> wAbout::sTextURL() { return RuntimeCheckCast<Label>(_ControlByName("sTextURL")); }
Ref<PushButton> wAbout::bWeb() { return RuntimeCheckCast<PushButton>(_ControlByName("bWeb")); }
Ref<PushButton> wAbout::bMail() { return RuntimeCheckCast<PushButton>(_ControlByName("bMail")); }
Ref<PushButton> wAbout::bRtn() { return RuntimeCheckCast<PushButton>(_ControlByName("bRtn")); }
Ref<Label> wAbout::sTextMail() { return RuntimeCheckCast<Label>(_ControlByName("sTextMail")); }
Ref<Label> wAbout::sTextIntro() { return RuntimeCheckCast<Label>(_ControlByName("sTextIntro")); }
Ref<Label> wAbout::sTextAuth() { return RuntimeCheckCast<Label>(_ControlByName("sTextAuth")); }

void wAbout::bWeb_Action(Ref<PushButton>)
{
    ShowURL(kMakerWebAddress);
    Hide();
}

void wAbout::bMail_Action(Ref<PushButton>)
{
    ShowURL(aboutMailLink());
    Hide();
}

void wAbout::bRtn_Action(Ref<PushButton>)
{
    Hide();
}

Ref<class wAbout> wAbout()
{
    return openOrMakeWindow<class wAbout>();
}
