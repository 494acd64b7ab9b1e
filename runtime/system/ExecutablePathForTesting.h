#pragma once

// Runtime-internal, for tests: lets a test place the "executable" anywhere, so that
// GetBundleResourcesFolder can be tried on a bundle built in a temporary folder.

#include <string>

// From now on GetBundleResourcesFolder works from `path` as the executable's file; an empty
// path goes back to the real executable.
void RuntimeSetExecutablePathForTesting(const std::string& path);
