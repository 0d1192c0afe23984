// The audio library's error code, kept per thread as BASS keeps it.
#pragma once

namespace bass::detail {

void SetError(int code);
int LastError();

// Records code and hands back result, so that a failing call reads `return Fail(code, FALSE);`.
template <class Result>
Result Fail(int code, Result result)
{
    SetError(code);
    return result;
}

} // namespace bass::detail
