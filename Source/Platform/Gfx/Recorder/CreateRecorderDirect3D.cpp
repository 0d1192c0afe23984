#include "Platform/Gfx/Recorder/CreateRecorderDirect3D.h"

#include "Platform/Gfx/Recorder/MemoryBackend.h"
#include "Platform/Gfx/Recorder/RecordingBackend.h"

IDirect3D9* CreateRecorderDirect3D(std::shared_ptr<Recorder> recorder)
{
    auto memory = std::make_unique<MemoryBackend>(recorder);
    return new IDirect3D9(std::make_shared<RecordingBackend>(std::move(recorder), std::move(memory)));
}

Direct3DCreator RecorderDirect3DCreator(std::shared_ptr<Recorder> recorder)
{
    return [recorder = std::move(recorder)] { return CreateRecorderDirect3D(recorder); };
}
