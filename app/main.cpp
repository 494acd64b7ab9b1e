#include "Startup.h"

int main()
{
    RuntimeInit();
    RuntimePerformInitializers(kApplicationInitializers);
    _Main();
    RuntimePerformFinalizers();
    return RuntimeExit();
}
