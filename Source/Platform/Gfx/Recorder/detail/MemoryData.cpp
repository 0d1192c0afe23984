#include "Platform/Gfx/Recorder/detail/MemoryData.h"

#include "Platform/Gfx/Recorder/Recorder.h"

RecorderRegistration::RecorderRegistration(Recorder& recorder, ObjectKind kind, const Unknown& object)
    : recorder_(recorder), object_(object)
{
    recorder_.Register(kind, object_);
}

RecorderRegistration::~RecorderRegistration()
{
    recorder_.Unregister(object_);
}
