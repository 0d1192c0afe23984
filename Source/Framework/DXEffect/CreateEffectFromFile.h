// Creating an effect from the archive: the effect named "X.fx" is read in its compiled form, the
// entry "OShaders\X.fxo", and created on the framework's device with EffectInclude.
#pragma once

#include "Platform/Fx/D3DXCreateEffect.h"

// Throws FrameworkEx "[DXFramework::CreateEffectFromFile]: can't find file \"<path>\"." when the
// archive has no such entry; otherwise returns D3DXCreateEffect's result, with its messages in
// *compilerMessages.
HRESULT CreateEffectFromFile(const char* fileName, ID3DXEffectPool* pool, ID3DXEffect** effect,
                             ID3DXBuffer** compilerMessages);
