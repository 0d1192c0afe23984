#include "Platform/Gfx/IDirect3DVertexDeclaration9.h"

#include <algorithm>
#include <utility>

#include "Platform/Gfx/IDirect3DDevice9.h"

IDirect3DVertexDeclaration9::IDirect3DVertexDeclaration9(IDirect3DDevice9& device,
                                                         std::vector<D3DVERTEXELEMENT9> elements)
    : DeviceChild(device), elements_(std::move(elements))
{
}

HRESULT IDirect3DVertexDeclaration9::GetDeclaration(D3DVERTEXELEMENT9* pElement, UINT* pNumElements)
{
    if (!pNumElements) {
        return Device().Refuse("GetDeclaration", FrontCheck::NullPointer);
    }
    *pNumElements = static_cast<UINT>(elements_.size() + 1);
    if (pElement) {
        std::copy(elements_.begin(), elements_.end(), pElement);
        pElement[elements_.size()] = D3DDECL_END();
    }
    return D3D_OK;
}
