#pragma once

#include "object/Object.h"

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

class MenuBar;

// The application's events, in the runtime's order.
enum class ApplicationEvent {
    Activate, Activated, AppearanceChanged, AppleEventReceived, CancelClose, CancelClosing, Close,
    Closing, Deactivate, Deactivated, DocumentCreated, DocumentOpened, EnableMenuItems,
    HandleAppleEvent, MenuSelected, NewDocument, Open, OpenDocument, Opening, UnhandledException,
};
inline constexpr size_t kApplicationEventCount = 20;

// The application object: version data, the menu bar, menu handlers bound by item name.
// A subclass binds the events it handles in its C++ constructor.
class Application : public Object {
    RUNTIME_OBJECT(Application)
public:
    Application();
    ~Application() override;

    // Stores the version fields, in this order.
    void _x_SetVersionData(int64_t majorVersion, int64_t minorVersion, int64_t bugVersion,
                           int64_t nonReleaseVersion, int64_t stageCode, const std::string& longVersion,
                           const std::string& shortVersion, const std::string& packageInfo);
    int64_t MajorVersion() const { return m_majorVersion; }
    int64_t MinorVersion() const { return m_minorVersion; }
    int64_t BugVersion() const { return m_bugVersion; }
    int64_t NonReleaseVersion() const { return m_nonReleaseVersion; }
    int64_t StageCode() const { return m_stageCode; }
    const std::string& LongVersion() const { return m_longVersion; }
    const std::string& ShortVersion() const { return m_shortVersion; }
    const std::string& PackageInfo() const { return m_packageInfo; }

    // The application's menu bar.
    Ref<::MenuBar> MenuBar() const { return m_menuBar; }
    void MenuBar(const Ref<::MenuBar>& bar) { m_menuBar = bar; }

    // Binds `handler` to the menu items named `itemName`: choosing one calls it.
    void _AddMenuHandler(const std::string& itemName, std::function<bool()> handler);
    // The item names that carry a handler, in binding order.
    std::vector<std::string> menuHandlerNames() const;

    // Declares high-resolution display support (Qt 6 always has it).
    static void _SetSupportsHiDPI(bool supported);

    // Runtime side: raises a bound event, delivers a menu choice by item name (false when
    // no handler is bound), and marks the end of launch.
    bool handles(ApplicationEvent event) const;
    void raiseEvent(ApplicationEvent event);
    bool menuItemChosen(const std::string& itemName);
    void launchFinished();

protected:
    template<typename A>
    void bind(ApplicationEvent event, void (A::*handler)())
    {
        m_events[static_cast<size_t>(event)] = [this, handler] { (static_cast<A*>(this)->*handler)(); };
    }

private:
    void applicationBecameActive();

    int64_t m_majorVersion = 0;
    int64_t m_minorVersion = 0;
    int64_t m_bugVersion = 0;
    int64_t m_nonReleaseVersion = 0;
    int64_t m_stageCode = 0;
    std::string m_longVersion;
    std::string m_shortVersion;
    std::string m_packageInfo;
    Ref<::MenuBar> m_menuBar;
    std::array<std::function<void()>, kApplicationEventCount> m_events;
    std::vector<std::pair<std::string, std::function<bool()>>> m_menuHandlers;
    bool m_launched = false;
    bool m_launchActivationSeen = false;
};

// Makes `application` the application object; the runtime holds it for the process's life.
void RuntimeRegisterAppObject(const Ref<Application>& application);
// The registered application object, or none before registration.
Ref<Application> getAppObject();
