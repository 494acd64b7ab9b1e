#pragma once

#include "system/FileType.h"

#include <vector>

// The application's document file types: one, registered at start-up and never used.
namespace FileTypes {

// The whole set.
extern std::vector<Ref<FileType>> pAllFileTypes;
extern Ref<FileType> pFlagObj;

// The type "Tarnia Flag".
Ref<FileType> FlagObj();

// Builds the set and registers it with the system.
void _Initialize();

} // namespace FileTypes
