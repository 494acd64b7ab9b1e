#include "BenchLaunch.h"

#include "Startup.h"
#include "system/ExecutablePathForTesting.h"
#include "wFlag.h"
#include "wPanel.h"

#include <QCoreApplication>

void launchWithoutTicks()
{
    RuntimeInit(kApplicationIdentity);
    RuntimeSetExecutablePathForTesting(FLAG_EXECUTABLE);
    RuntimePerformInitializers(kApplicationInitializers);
    _EarlyStartup();
    RunFrameworkInitialization(&_LateStartup);
    QCoreApplication::processEvents();
    wFlag()->TimerFlag()->Enabled(false);
    wPanel()->Hide();
}
