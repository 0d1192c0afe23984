// Argument checks shared by the locks of surfaces, volumes and buffers.
#pragma once

#include <optional>

#include "Platform/Gfx/GfxTypes.h"

enum class LockTarget { Image, Buffer };

// FrontCheck::LockFlags for unknown flags and for flags the target cannot take: DISCARD and
// NOOVERWRITE need a dynamic resource, NOOVERWRITE is for buffers only, and a read-only lock
// cannot discard.
std::optional<FrontCheck> CheckLockFlags(DWORD flags, DWORD usage, LockTarget target);

// A non-empty rectangle inside a width x height image.
bool RectInside(const RECT& rect, UINT width, UINT height);

// A non-empty box inside a width x height x depth volume.
bool BoxInside(const D3DBOX& box, UINT width, UINT height, UINT depth);

// A lock of size bytes at offset inside a buffer of length bytes; size 0 locks up to the end.
bool BufferRangeInside(UINT offset, UINT size, UINT length);

// Whether images of this pool and usage can be locked at all: default-pool ones only when dynamic.
bool PoolAllowsImageLock(D3DPOOL pool, DWORD usage);
