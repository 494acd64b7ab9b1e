#pragma once

#include <exception>
#include <functional>

// Event delivery: how the runtime runs the application's handlers, one at a time on the one
// user-interface thread, and what becomes of an exception that leaves one.

// Calls fn(argument) and returns the runtime exception it raised, or nothing; others pass on.
using ExceptionCall = std::exception_ptr (*)(void (*fn)(void*), void* argument);
std::exception_ptr CallWithExceptionHandling(void (*fn)(void*), void* argument);
// The routine the runtime calls every handler through.
void RuntimeSetExceptionHelper(ExceptionCall helper);

// Runs one event handler as the runtime delivers it: an exception that leaves it is reported
// (one line on standard error) and the event loop goes on. Returns false when it threw.
bool RuntimeDeliver(const std::function<void()>& handler);

// Runtime side: the unhandled-exception report, one line on standard error: the exception's
// class, its message and where it was raised.
void reportUnhandledException(const std::exception_ptr& exception);
