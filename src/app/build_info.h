// The program's identity as it appears in messages, on the version page, in the registry and in
// decoder files.
#pragma once

#include <string>

constexpr const char* productName = "Velquist 1.0";
constexpr const char* buildNumber = "14";
constexpr const char* buildTime = "19:53:12";
constexpr const char* buildDate = "May 12 2002";

// "%s:%s" of the build number and time.
inline std::string buildText() {
    return std::string(buildNumber) + ":" + buildTime;
}
