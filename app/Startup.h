#pragma once

#include "application/Runtime.h"

#include <array>

// What the application tells the runtime of itself when it starts it: its names, its icon, the
// wording of a failure to start and where its resources lie.
extern const ApplicationIdentity kApplicationIdentity;

// The application's entries in the table of static initialisers, in their order.
extern const std::array<Initializer, 5> kApplicationInitializers;

// The start-up chain from process start to the event loop, in the order it runs.
void _Main();
void _EarlyStartup();
void _InitFileTypes();
void _NewAppInstance();
void _ApplicationAddMenuHandlers();
void _LateStartup();
void _MakeDefaultView();
