#include "application/Runtime.h"
#ifdef FLAG_APPLICATION_TESTS
#include "Startup.h"
#endif

#include <QByteArray>
#include <gtest/gtest.h>

namespace {

// The application's own identity where its code is tested; for the runtime alone, a bundle laid
// out as the build lays out the application's.
ApplicationIdentity testedIdentity()
{
#ifdef FLAG_APPLICATION_TESTS
    return kApplicationIdentity;
#else
    ApplicationIdentity identity;
    identity.resourcesFromExecutable = FLAG_RESOURCES_FROM_EXECUTABLE;
    return identity;
#endif
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + FLAG_SCREEN_CONFIG);
    RuntimeInit(testedIdentity());
    return RUN_ALL_TESTS();
}
