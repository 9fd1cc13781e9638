#pragma once

#include <optional>
#include <string>

// The request target of a configured camera path ("record/current.jpg", "control/rcontrol?a=1").
struct CameraUrlTarget {
    std::string path;                 // with its leading "/"
    std::optional<std::string> query; // what followed the first "?", if there was one
};

// Splits at the first "?" and percent-encodes every byte that cannot stand in a request line
// (blanks, control characters, non-ASCII) and "#", which would cut off the rest. Everything
// else, including escapes already in the text, goes out as configured.
CameraUrlTarget EncodeCameraTarget(const std::string& configuredPath);
