// A size in pixels as the command lines write it, WxH (or WXH), and the limits a size is held to.
#pragma once

#include <stdexcept>
#include <string>

struct PixelSize {
    unsigned width = 0;
    unsigned height = 0;
};

struct PixelSizeLimits {
    unsigned least = 16; // each side at least, for every size taken
    unsigned widest = 0;
    unsigned tallest = 0;

    // "16x16 to 7680x4320"
    std::string Text() const;
};

// A size text that is not WxH within its limits; the message says what is expected.
class PixelSizeError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// Parses WxH, each side digits only; throws PixelSizeError "expected WxH from <limits>" (the
// caller names the option and the text in front of it).
PixelSize ParsePixelSize(const std::string& text, const PixelSizeLimits& limits);
