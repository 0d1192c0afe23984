// Storage that does not fit in memory is the caller's out-of-memory failure, as Direct3D reports
// it, not an exception out of a device call.
#pragma once

#include <new>

#include "Platform/Gfx/Result.h"

template <class Store>
HRESULT StoreOrReport(Store store)
{
    try {
        store();
        return D3D_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
