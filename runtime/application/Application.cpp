#include "application/Application.h"

#include "application/EventDelivery.h"

#include <QGuiApplication>

namespace {

Ref<Application>& registeredApplication()
{
    static Ref<Application> application;
    return application;
}

} // namespace

RUNTIME_CLASS_RECORD(Application, "Application", Object)

Application::Application() = default;

Application::~Application() = default;

void Application::_x_SetVersionData(int64_t majorVersion, int64_t minorVersion, int64_t bugVersion,
                                    int64_t nonReleaseVersion, int64_t stageCode, const std::string& longVersion,
                                    const std::string& shortVersion, const std::string& packageInfo)
{
    m_majorVersion = majorVersion;
    m_minorVersion = minorVersion;
    m_bugVersion = bugVersion;
    m_nonReleaseVersion = nonReleaseVersion;
    m_stageCode = stageCode;
    m_longVersion = longVersion;
    m_shortVersion = shortVersion;
    m_packageInfo = packageInfo;
}

void Application::_AddMenuHandler(const std::string& itemName, std::function<bool()> handler)
{
    for (auto& [name, bound] : m_menuHandlers) {
        if (name == itemName) {
            bound = std::move(handler);
            return;
        }
    }
    m_menuHandlers.emplace_back(itemName, std::move(handler));
}

std::vector<std::string> Application::menuHandlerNames() const
{
    std::vector<std::string> names;
    for (const auto& [name, handler] : m_menuHandlers)
        names.push_back(name);
    return names;
}

void Application::_SetSupportsHiDPI(bool) { }

bool Application::handles(ApplicationEvent event) const
{
    return static_cast<bool>(m_events[static_cast<size_t>(event)]);
}

void Application::raiseEvent(ApplicationEvent event)
{
    if (const auto& handler = m_events[static_cast<size_t>(event)])
        RuntimeDeliver(handler);
}

bool Application::menuItemChosen(const std::string& itemName)
{
    for (const auto& [name, handler] : m_menuHandlers) {
        if (name == itemName) {
            // The handler's result only says whether it took the command; nothing follows from it.
            RuntimeDeliver([&handler] { handler(); });
            return true;
        }
    }
    return false;
}

void Application::launchFinished()
{
    if (m_launched)
        return;
    m_launched = true;
    if (QGuiApplication::applicationState() == Qt::ApplicationActive)
        m_launchActivationSeen = true;
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, qGuiApp, [](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            return;
        if (Ref<Application> application = getAppObject())
            application->applicationBecameActive();
    });
}

void Application::applicationBecameActive()
{
    // The activation that comes with launch leaves the launch state alone.
    if (!m_launchActivationSeen) {
        m_launchActivationSeen = true;
        return;
    }
    raiseEvent(ApplicationEvent::Activate);
}

void RuntimeRegisterAppObject(const Ref<Application>& application)
{
    registeredApplication() = application;
}

Ref<Application> getAppObject()
{
    return registeredApplication();
}
