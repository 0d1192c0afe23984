#include "Platform/Gfx/FormatInfo.h"

#include <utility>

namespace {

constexpr std::pair<D3DFORMAT, FormatInfo> kFormats[] = {
    {D3DFMT_A8R8G8B8, {FormatKind::Colour, 4, false, "D3DFMT_A8R8G8B8"}},
    {D3DFMT_X8R8G8B8, {FormatKind::Colour, 4, false, "D3DFMT_X8R8G8B8"}},
    {D3DFMT_A8B8G8R8, {FormatKind::Colour, 4, false, "D3DFMT_A8B8G8R8"}},
    {D3DFMT_X8B8G8R8, {FormatKind::Colour, 4, false, "D3DFMT_X8B8G8R8"}},
    {D3DFMT_A8, {FormatKind::Colour, 1, false, "D3DFMT_A8"}},
    {D3DFMT_L8, {FormatKind::Colour, 1, false, "D3DFMT_L8"}},
    {D3DFMT_R16F, {FormatKind::Colour, 2, false, "D3DFMT_R16F"}},
    {D3DFMT_G16R16F, {FormatKind::Colour, 4, false, "D3DFMT_G16R16F"}},
    {D3DFMT_A16B16G16R16F, {FormatKind::Colour, 8, false, "D3DFMT_A16B16G16R16F"}},
    {D3DFMT_R32F, {FormatKind::Colour, 4, false, "D3DFMT_R32F"}},
    {D3DFMT_G32R32F, {FormatKind::Colour, 8, false, "D3DFMT_G32R32F"}},
    {D3DFMT_A32B32G32R32F, {FormatKind::Colour, 16, false, "D3DFMT_A32B32G32R32F"}},
    {D3DFMT_D16, {FormatKind::Depth, 2, false, "D3DFMT_D16"}},
    {D3DFMT_D24X8, {FormatKind::Depth, 4, false, "D3DFMT_D24X8"}},
    {D3DFMT_D24S8, {FormatKind::Depth, 4, true, "D3DFMT_D24S8"}},
    {D3DFMT_INDEX16, {FormatKind::Index, 2, false, "D3DFMT_INDEX16"}},
    {D3DFMT_INDEX32, {FormatKind::Index, 4, false, "D3DFMT_INDEX32"}},
};

} // namespace

const FormatInfo* DescribeFormat(D3DFORMAT format)
{
    for (const auto& [known, info] : kFormats) {
        if (known == format) {
            return &info;
        }
    }
    return nullptr;
}

const char* FormatName(D3DFORMAT format)
{
    const FormatInfo* info = DescribeFormat(format);
    return info ? info->name : "an unknown format";
}

bool IsColourFormat(D3DFORMAT format)
{
    const FormatInfo* info = DescribeFormat(format);
    return info && info->kind == FormatKind::Colour;
}

bool IsDepthFormat(D3DFORMAT format)
{
    const FormatInfo* info = DescribeFormat(format);
    return info && info->kind == FormatKind::Depth;
}
