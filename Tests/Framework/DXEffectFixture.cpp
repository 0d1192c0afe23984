#include "DXEffectFixture.h"

#include "Framework/Noise/NoiseVolume.h"
#include "Platform/Fx/CompiledEffect.h"
#include "Platform/Fx/EffectParser.h"

#include <cstring>

std::vector<unsigned char> CompileEffect(const std::string& source, const std::map<std::string, std::string>& includes)
{
    const auto include = [&](const std::string& name) -> std::optional<std::string> {
        const auto found = includes.find(name);
        if (found == includes.end())
            return std::nullopt;
        return found->second;
    };
    return fx::SaveCompiledEffect(fx::ParseEffect("effect.fx", source, include));
}

std::vector<unsigned char> SolidTga(unsigned width, unsigned height, unsigned char r, unsigned char g, unsigned char b)
{
    // Uncompressed true colour, 32 bits, top-left origin with 8 alpha bits.
    std::vector<unsigned char> file = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                       static_cast<unsigned char>(width & 0xFF),
                                       static_cast<unsigned char>(width >> 8),
                                       static_cast<unsigned char>(height & 0xFF),
                                       static_cast<unsigned char>(height >> 8),
                                       32, 0x28};
    for (unsigned i = 0; i < width * height; ++i)
        file.insert(file.end(), {b, g, r, 255});
    return file;
}

void DXEffectFixture::Start(const ArchiveEntries& entries)
{
    ArchiveWriter writer;
    writer.Add("Data\\events\\Scenes.txt", Bytes("0 Test\n"));
    writer.Add("Data\\noise.bin", std::vector<unsigned char>(NoiseVolume::ByteCount, 0x80));
    writer.Add("OShaders\\global.fxo", CompiledGlobalEffect());
    for (const auto& [name, bytes] : entries)
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
