// One recorded call: which operation, its arguments as data, what it returned, and for draws,
// clears and copies what was bound to the device at that moment.
//
// Calls::<Operation> holds the arguments under their Direct3D names, generated from GfxOps.inc.
// What a pointer argument pointed to is copied with the record and the pointer set to the copy:
// inputs (a RECT, a viewport, the declaration's elements, the present parameters) as they were
// passed; outputs (the created object, the locked memory's description, the filled caps) as the
// call left them, or null when it failed. Object pointers (surfaces, buffers) stay as they were
// passed; they name objects that may since have been destroyed.
#pragma once

#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "Platform/Gfx/DeviceState.h"
#include "Platform/Gfx/GfxTypes.h"
#include "Platform/Gfx/Op.h"
#include "Platform/Gfx/Recorder/detail/MacroList.h"

namespace Calls {
#define QL_CALL_FIELD(declaration) declaration;
#define OP(result, name, params, args) \
    struct name {                      \
        QL_FOR_EACH(QL_CALL_FIELD, QL_UNPAREN params)                            \
    };
#include "Platform/Gfx/GfxOps.inc"
#undef OP
#undef QL_CALL_FIELD
} // namespace Calls

// The arguments of any operation; the alternative's index is the operation's index plus one.
using CallArguments = std::variant<std::monostate
#define OP(result, name, params, args) , Calls::name
#include "Platform/Gfx/GfxOps.inc"
#undef OP
                                   >;

template <Op op>
struct ArgumentsOf;
#define OP(result, name, params, args)        \
    template <>                               \
    struct ArgumentsOf<Op::name> {            \
        using type = Calls::name;             \
    };
#include "Platform/Gfx/GfxOps.inc"
#undef OP

struct CallRecord {
    Op op{};
    // This call's number among the calls of its operation, 0 for the first.
    size_t index = 0;
    // What the call returned: result for operations that report an HRESULT, count for the others.
    HRESULT result = D3D_OK;
    UINT count = 0;
    // The result came from the Recorder's failure plan (or its lost device), not from the backend.
    bool injected = false;
    // For Clear, StretchRect and DrawIndexedPrimitive: the device's bindings at the call.
    std::optional<DeviceState> bound;
    CallArguments arguments;
    // The copies that pointer arguments now point to.
    std::vector<std::shared_ptr<const void>> copies;
};
