// Raised only by the capability checks: the graphics adapter lacks something the show needs.
#pragma once

#include <string>
#include <utility>

class FrameworkSupportFailed {
public:
    explicit FrameworkSupportFailed(std::string message) : message(std::move(message)) {}

    std::string message;
};
