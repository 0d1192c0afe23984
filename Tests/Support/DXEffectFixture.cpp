#include "Support/DXEffectFixture.h"

#include "Framework/Noise/NoiseVolume.h"

#include <cstring>

void DXEffectFixture::Start(const ArchiveEntries& entries)
{
    // The show's minimum, unless the test gives its own.
    ArchiveEntries all = {{"Data\\events\\Scenes.txt", Bytes("0 Test\n")},
                          {"Data\\noise.bin", std::vector<unsigned char>(NoiseVolume::ByteCount, 0x80)},
                          {"OShaders\\global.fxo", CompiledGlobalEffect()}};
    for (const auto& [name, bytes] : entries)
        all[name] = bytes;
    ArchiveWriter writer;
    for (const auto& [name, bytes] : all)
        writer.Add(name, bytes);
    WriteArchive(writer.Build());
    framework = MakeFramework();
    framework->settings.multiSampleType = 0;
    framework->CreateMainWindow();
    framework->CreateDevice();
    framework->CreateDeviceResources();
}

void DXEffectFixture::TearDown()
{
    for (Unknown* object : std::initializer_list<Unknown*>{vertices, indices, declaration})
        if (object)
            object->Release();
    framework.reset();
    ShowFixture::TearDown();
}

size_t DXEffectFixture::DrawTriangle()
{
    IDirect3DDevice9* device = DXFramework::device;
    if (!vertices) {
        const D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
                                              D3DDECL_END()};
        device->CreateVertexDeclaration(elements, &declaration);
        device->CreateVertexBuffer(36, 0, 0, D3DPOOL_MANAGED, &vertices, nullptr);
        device->CreateIndexBuffer(12, 0, D3DFMT_INDEX32, D3DPOOL_MANAGED, &indices, nullptr);
        void* data = nullptr;
        indices->Lock(0, 0, &data, 0);
        const uint32_t corners[] = {0, 1, 2};
        std::memcpy(data, corners, sizeof corners);
        indices->Unlock();
    }
    device->SetVertexDeclaration(declaration);
    device->SetStreamSource(0, vertices, 0, 12);
    device->SetIndices(indices);
    const bool inScene = device->State().inScene;
    if (!inScene)
        device->BeginScene();
    const size_t number = recorder->Count(Op::DrawIndexedPrimitive);
    const HRESULT drawn = device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1);
    if (!inScene)
        device->EndScene();
    EXPECT_EQ(drawn, D3D_OK);
    return number;
}

D3DXMATRIX DXEffectFixture::Matrix(DXEffect& effect, const char* parameter)
{
    D3DXMATRIX matrix;
    EXPECT_EQ(effect.effect->GetMatrix(parameter, &matrix), D3D_OK) << parameter;
    return matrix;
}

std::vector<float> DXEffectFixture::Floats(DXEffect& effect, const char* parameter, UINT count)
{
    std::vector<float> values(count);
    EXPECT_EQ(effect.effect->GetFloatArray(parameter, values.data(), count), D3D_OK) << parameter;
    return values;
}
