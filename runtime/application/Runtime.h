#pragma once

#include "application/ApplicationIdentity.h"
#include "application/EventDelivery.h"
#include "object/Object.h"

#include <exception>
#include <span>
#include <string>

// Process and start-up services of the runtime.

// Starts the runtime (the Qt application object) once, for the application `identity` tells of;
// later calls do nothing.
void RuntimeInit(const ApplicationIdentity& identity = {});

using Initializer = void (*)();
// Runs the runtime's own static initialisers, then the application's table in its order.
// An exception that one raises stays pending for _Main (RuntimeTakePendingException).
void RuntimePerformInitializers(std::span<const Initializer> applicationInitializers);
// The exception left pending by the initialisers, if any; taking it clears it.
std::exception_ptr RuntimeTakePendingException();

// Built-in classes and plug-in entry points; this runtime has nothing to add for either.
void RuntimeInitExternalClasses();
void InitPluginEntrypoints();

// Completes start-up: raises the application's Open event, then calls lateStartup once.
// An exception from lateStartup passes back to the caller.
void RunFrameworkInitialization(void (*lateStartup)());

// Runs the event loop until Quit (returns at once when Quit came before it).
void RuntimeRun();
// Ends the event loop; the process exits with `status`.
void Quit(int64_t status = 0);
// True once Quit has been called.
bool RuntimeQuitRequested();

// Reports an exception that escaped start-up or the event loop: one line on standard error
// (class, message, where raised); the process will then exit non-zero.
void RuntimeUnhandledException(std::exception_ptr exception);

// The finalisers of the static initialisers: the windows are released, and every sound's
// playback ends.
void RuntimePerformFinalizers();
// The exit status: the one given to Quit, or non-zero after an unhandled start-up failure.
int32_t RuntimeExit();
