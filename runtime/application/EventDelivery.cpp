#include "application/EventDelivery.h"

#include "object/RuntimeException.h"

#include <cstdio>

namespace {

ExceptionCall& exceptionHelper()
{
    static ExceptionCall helper = &CallWithExceptionHandling;
    return helper;
}

void callStdFunction(void* argument)
{
    (*static_cast<const std::function<void()>*>(argument))();
}

} // namespace

std::exception_ptr CallWithExceptionHandling(void (*fn)(void*), void* argument)
{
    try {
        fn(argument);
    } catch (const RuntimeException&) {
        return std::current_exception();
    }
    return nullptr;
}

void RuntimeSetExceptionHelper(ExceptionCall helper)
{
    exceptionHelper() = helper ? helper : &CallWithExceptionHandling;
}

bool RuntimeDeliver(const std::function<void()>& handler)
{
    std::exception_ptr exception;
    try {
        exception = exceptionHelper()(&callStdFunction, const_cast<std::function<void()>*>(&handler));
    } catch (...) {
        // Nothing may unwind through Qt's event loop.
        exception = std::current_exception();
    }
    if (exception)
        reportUnhandledException(exception);
    return !exception;
}

void reportUnhandledException(const std::exception_ptr& exception)
{
    try {
        std::rethrow_exception(exception);
    } catch (const RuntimeException& error) {
        std::fprintf(stderr, "Unhandled %s: %s (raised in %s)\n", error.className().c_str(), error.what(),
                     error.where().c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Unhandled exception: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "Unhandled exception of unknown kind\n");
    }
    std::fflush(stderr);
}
