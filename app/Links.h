#pragma once

// The maker's web site and the author's mail address, each written once.
inline constexpr const char* kMakerWebAddress = "https://www.corvala.example/";
inline constexpr const char* kAuthorMailAddress = "author@corvala.example";
