// Copies what a recorded call's pointer arguments point to into the record, generated from
// GfxOps.inc: const pointers are inputs and are always copied; other pointers are outputs (or
// in-out) and are copied only from a call that succeeded, since a failed one leaves them unset.
// Objects and window handles are kept as the pointers they are.
#pragma once

#include <memory>
#include <type_traits>
#include <vector>

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/Recorder/CallRecord.h"

using CallCopies = std::vector<std::shared_ptr<const void>>;

template <class T>
void CaptureArgument(T&, CallCopies&, bool)
{
}

template <class T>
void CaptureArgument(T*& pointer, CallCopies& copies, bool succeeded)
{
    if constexpr (!std::is_base_of_v<Unknown, std::remove_cv_t<T>>) {
        if (!pointer) {
            return;
        }
        if (!std::is_const_v<T> && !succeeded) {
            pointer = nullptr;
            return;
        }
        auto copy = std::make_shared<std::remove_cv_t<T>>(*pointer);
        pointer = copy.get();
        copies.push_back(std::move(copy));
    }
}

inline void CaptureArgument(HWND&, CallCopies&, bool) {}

// An effect's description stays the effect's: the record names it as passed.
inline void CaptureArgument(const fx::EffectDescription*&, CallCopies&, bool) {}

// A declaration is copied up to and with its end marker (the front has checked there is one).
inline void CaptureArgument(const D3DVERTEXELEMENT9*& elements, CallCopies& copies, bool)
{
    size_t count = 1;
    while (!(elements[count - 1] == D3DDECL_END())) {
        ++count;
    }
    auto copy = std::make_shared<D3DVERTEXELEMENT9[]>(count);
    std::copy(elements, elements + count, copy.get());
    elements = copy.get();
    copies.push_back(std::move(copy));
}

// Clear's rectangles are as many as its Count; CaptureArrays copies them.
inline void CaptureArgument(const D3DRECT*&, CallCopies&, bool) {}

template <class Call>
void CaptureArrays(Call&, CallCopies&)
{
}

inline void CaptureArrays(Calls::Clear& call, CallCopies& copies)
{
    if (!call.pRects) {
        return;
    }
    auto copy = std::make_shared<D3DRECT[]>(call.Count);
    std::copy(call.pRects, call.pRects + call.Count, copy.get());
    call.pRects = copy.get();
    copies.push_back(std::move(copy));
}

#define QL_CAPTURE_ARGUMENT(argument) CaptureArgument(call.argument, copies, succeeded);
#define OP(result, name, params, args)                                                  \
    inline void CaptureArguments(Calls::name& call, CallCopies& copies, bool succeeded) \
    {                                                                                   \
        (void)succeeded;                                                                \
        QL_FOR_EACH(QL_CAPTURE_ARGUMENT, QL_UNPAREN args)                               \
        CaptureArrays(call, copies);                                                    \
    }
#include "Platform/Gfx/GfxOps.inc"
#undef OP
#undef QL_CAPTURE_ARGUMENT
