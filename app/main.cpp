#include "Startup.h"

int main()
{
    RuntimeInit(kApplicationIdentity);
    RuntimePerformInitializers(kApplicationInitializers);
    _Main();
    RuntimePerformFinalizers();
    return RuntimeExit();
}
