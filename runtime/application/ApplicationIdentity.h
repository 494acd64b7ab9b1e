#pragma once

#include <string>

// What the runtime is told of the application it serves; it names none of its own. Every field
// may be left empty.
struct ApplicationIdentity {
    // The program's name: its first argument, and the instance part of its windows' WM_CLASS.
    // Empty: the executable's file name.
    std::string programName;
    // The name of the application's desktop entry without ".desktop": its windows' WM_CLASS
    // class, so a dock groups the windows under the entry.
    std::string id;
    // The Qt resource of the icon every window shows (":/name.svg").
    std::string icon;
    // The start of the one line written when the window system cannot start; the reason follows
    // it. Empty: the program's name and " cannot start".
    std::string cannotStart;
    // The path from the executable's folder to the application's resources folder, as the build
    // lays out the bundle ("../share/name"). Empty: the application has no resources folder.
    std::string resourcesFromExecutable;
};

// Runtime side: the identity RuntimeInit was given, its empty fields filled in as they say.
const ApplicationIdentity& applicationIdentity();
void setApplicationIdentity(const ApplicationIdentity& identity);
