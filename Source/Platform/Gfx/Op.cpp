#include "Platform/Gfx/Op.h"

#include <iterator>
#include <type_traits>

namespace {

constexpr const char* kNames[] = {
#define OP(result, name, params, args) #name,
#include "Platform/Gfx/GfxOps.inc"
#undef OP
};

constexpr bool kReturnsResult[] = {
#define OP(result, name, params, args) std::is_same_v<result, HRESULT>,
#include "Platform/Gfx/GfxOps.inc"
#undef OP
};

static_assert(std::size(kNames) == kOpCount);

} // namespace

const char* OpName(Op op)
{
    return kNames[static_cast<size_t>(op)];
}

bool OpReturnsResult(Op op)
{
    return kReturnsResult[static_cast<size_t>(op)];
}
