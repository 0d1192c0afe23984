#include "Platform/Gfx/detail/Fatal.h"

#include <cstdio>
#include <cstdlib>

void GfxFatal(const char* where, const char* what)
{
    std::fprintf(stderr, "[%s]: %s\n", where, what);
    std::abort();
}
