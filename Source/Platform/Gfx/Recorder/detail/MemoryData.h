// What the Recorder's memory backend attaches to the objects it stores: image bytes for surfaces
// and volumes, bytes for buffers, and for top-level objects their entry in the Recorder's list of
// live objects, which goes when the object does.
#pragma once

#include <optional>
#include <vector>

#include "Platform/Gfx/BackendData.h"
#include "Platform/Gfx/Recorder/LiveObject.h"
#include "Platform/Gfx/Recorder/detail/ImageBytes.h"

class Recorder;

class RecorderRegistration {
public:
    RecorderRegistration(Recorder& recorder, ObjectKind kind, const Unknown& object);
    ~RecorderRegistration();
    RecorderRegistration(const RecorderRegistration&) = delete;
    RecorderRegistration& operator=(const RecorderRegistration&) = delete;

private:
    Recorder& recorder_;
    const Unknown& object_;
};

struct SurfaceData final : BackendData {
    explicit SurfaceData(ImageBytes image) : image(std::move(image)) {}

    ImageBytes image;
    // Standalone surfaces only; levels and the back buffer belong to their owner.
    std::optional<RecorderRegistration> registration;
};

struct VolumeData final : BackendData {
    explicit VolumeData(ImageBytes image) : image(std::move(image)) {}

    ImageBytes image;
};

struct BufferData final : BackendData {
    BufferData(Recorder& recorder, ObjectKind kind, const Unknown& object, UINT length)
        : bytes(length), registration(recorder, kind, object)
    {
    }

    std::vector<BYTE> bytes;
    RecorderRegistration registration;
};

// Textures, declarations and the device: registered, with nothing else of their own.
struct RegisteredData final : BackendData {
    RegisteredData(Recorder& recorder, ObjectKind kind, const Unknown& object) : registration(recorder, kind, object) {}

    RecorderRegistration registration;
};
