// The one failure type of the framework and the show: a message that ends in a message box.
#pragma once

#include <string>
#include <utility>

class FrameworkEx {
public:
    explicit FrameworkEx(std::string message) : message(std::move(message)) {}

    std::string message;
};
