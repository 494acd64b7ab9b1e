#include "application/Runtime.h"

#include <QByteArray>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + FLAG_SCREEN_CONFIG);
    RuntimeInit();
    return RUN_ALL_TESTS();
}
