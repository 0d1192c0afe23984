// What a GL test does where no GL context can be made: skip, or fail when the run says that GL is
// required (QL_REQUIRE_GL=1, as CI and scripts/test set it), so that a machine with broken GL can
// never pass the GL tests unseen.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

inline bool GLRequired()
{
    const char* required = std::getenv("QL_REQUIRE_GL");
    return required && std::strcmp(required, "1") == 0;
}

#define QL_GL_UNAVAILABLE(why)                                                                                         \
    do {                                                                                                               \
        if (GLRequired())                                                                                              \
            FAIL() << why << " (QL_REQUIRE_GL=1: GL is required)";                                                     \
        else                                                                                                           \
            GTEST_SKIP() << why;                                                                                       \
    } while (false)
