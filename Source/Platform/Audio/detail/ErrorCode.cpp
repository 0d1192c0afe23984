#include "Platform/Audio/detail/ErrorCode.h"

#include "Platform/Audio/Bass.h"

namespace bass::detail {

namespace {
thread_local int lastError = BASS_OK;
}

void SetError(int code)
{
    lastError = code;
}

int LastError()
{
    return lastError;
}

} // namespace bass::detail
