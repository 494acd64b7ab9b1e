#pragma once

#include <string>

// Hands `url` to the desktop's opener (xdg-open) as its one argument, unchanged and without a
// shell; does not wait for the outcome.
void ShowURL(const std::string& url);
