// The message of the FrameworkEx a call throws, or "(no failure)" when it returns.
#pragma once

#include "Framework/FrameworkEx.h"

#include <string>

template <class Call>
std::string FrameworkFailure(Call call)
{
    try {
        call();
    } catch (const FrameworkEx& e) {
        return e.message;
    }
    return "(no failure)";
}
