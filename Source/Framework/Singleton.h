// Base of the framework services that exist at most once: a second construction is refused with
// "<ClassName> is a singleton!" and destruction clears the instance pointer.
#pragma once

#include "Framework/FrameworkEx.h"

#include <string>

template <class Derived>
class Singleton {
public:
    Singleton(const Singleton&) = delete;
    Singleton& operator=(const Singleton&) = delete;

    static Derived* Instance() { return instance; }

protected:
    explicit Singleton(const char* className)
    {
        if (instance != nullptr)
            throw FrameworkEx(std::string(className) + " is a singleton!");
        instance = static_cast<Derived*>(this);
    }
    ~Singleton() { instance = nullptr; }

private:
    static inline Derived* instance = nullptr;
};
