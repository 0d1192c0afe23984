#include "Platform/Gfx/detail/LockChecks.h"

std::optional<FrontCheck> CheckLockFlags(DWORD flags, DWORD usage, LockTarget target)
{
    constexpr DWORD known = D3DLOCK_READONLY | D3DLOCK_NOSYSLOCK | D3DLOCK_NOOVERWRITE | D3DLOCK_DISCARD |
                            D3DLOCK_DONOTWAIT | D3DLOCK_NO_DIRTY_UPDATE;
    if (flags & ~known) {
        return FrontCheck::LockFlags;
    }
    const bool dynamic = (usage & D3DUSAGE_DYNAMIC) != 0;
    if ((flags & D3DLOCK_DISCARD) && (!dynamic || (flags & D3DLOCK_READONLY))) {
        return FrontCheck::LockFlags;
    }
    if ((flags & D3DLOCK_NOOVERWRITE) && (target != LockTarget::Buffer || !dynamic)) {
        return FrontCheck::LockFlags;
    }
    return {};
}

bool RectInside(const RECT& rect, UINT width, UINT height)
{
    return rect.left >= 0 && rect.top >= 0 && rect.left < rect.right && rect.top < rect.bottom &&
           static_cast<unsigned long>(rect.right) <= width && static_cast<unsigned long>(rect.bottom) <= height;
}

bool BoxInside(const D3DBOX& box, UINT width, UINT height, UINT depth)
{
    return box.Left < box.Right && box.Top < box.Bottom && box.Front < box.Back && box.Right <= width &&
           box.Bottom <= height && box.Back <= depth;
}

bool BufferRangeInside(UINT offset, UINT size, UINT length)
{
    if (offset >= length) {
        return false;
    }
    return size == 0 || size <= length - offset;
}

bool PoolAllowsImageLock(D3DPOOL pool, DWORD usage)
{
    return pool != D3DPOOL_DEFAULT || (usage & D3DUSAGE_DYNAMIC) != 0;
}
