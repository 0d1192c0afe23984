// A vertex declaration: which stream, offset, type and usage every vertex input comes from.
#pragma once

#include <vector>

#include "Platform/Gfx/DeviceChild.h"

class IDirect3DVertexDeclaration9 : public DeviceChild {
public:
    // elements: without the closing D3DDECL_END.
    IDirect3DVertexDeclaration9(IDirect3DDevice9& device, std::vector<D3DVERTEXELEMENT9> elements);

    // With pElement null, reports the element count (the end marker included); otherwise copies
    // the elements and the end marker there.
    HRESULT GetDeclaration(D3DVERTEXELEMENT9* pElement, UINT* pNumElements);

    const std::vector<D3DVERTEXELEMENT9>& Elements() const { return elements_; }

private:
    std::vector<D3DVERTEXELEMENT9> elements_;
};
