#pragma once

#include "TestSupport.h"

#include "App.h"
#include "Startup.h"
#include "system/ExecutablePathForTesting.h"
#include "wFlag.h"
#include "wPanel.h"

namespace test {

// Starts the application as main does, short of the blocking event loop, and lets the
// launch's posted events run until the flag has its first size. `executable` places the
// bundle: by default the built one, which has the song.
inline void launchApplication(const std::string& executable = FLAG_EXECUTABLE)
{
    // The test programs stand outside the bundle.
    RuntimeSetExecutablePathForTesting(executable);
    RuntimePerformInitializers(kApplicationInitializers);
    RuntimeSetExceptionHelper(&CallWithExceptionHandling);
    _EarlyStartup();
    RunFrameworkInitialization(&_LateStartup);
    waitUntil([] { return wFlag()->ArcRatio != 0.0; });
}

} // namespace test
