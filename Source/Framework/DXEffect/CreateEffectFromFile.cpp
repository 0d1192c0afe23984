#include "Framework/DXEffect/CreateEffectFromFile.h"

#include "Framework/DXEffect/EffectInclude.h"
#include "Framework/DXFramework.h"
#include "Framework/FileSys/FileSys.h"
#include "Framework/FrameworkEx.h"

#include <string>

HRESULT CreateEffectFromFile(const char* fileName, ID3DXEffectPool* pool, ID3DXEffect** effect,
                             ID3DXBuffer** compilerMessages)
{
    const std::string path = std::string("OShaders\\") + fileName + "o";
    const auto bytes = FileSys::Instance()->ReadAll(path);
    if (!bytes)
        throw FrameworkEx("[DXFramework::CreateEffectFromFile]: can't find file \"" + path + "\".");
    EffectInclude include;
    return D3DXCreateEffect(DXFramework::device, bytes->data(), static_cast<UINT>(bytes->size()), nullptr, &include, 0,
                            pool, effect, compilerMessages);
}
