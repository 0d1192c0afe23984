#include "Platform/Audio/detail/OggMemoryDecoder.h"

#include "Platform/Audio/Bass.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace bass::detail {

OggMemoryDecoder::OggMemoryDecoder(const unsigned char* data, size_t size) : source{data, size, 0} {}

std::unique_ptr<OggMemoryDecoder> OggMemoryDecoder::Open(const unsigned char* data, size_t size, int& error)
{
    if (data == nullptr || size == 0) {
        error = BASS_ERROR_FILEOPEN;
        return nullptr;
    }
    std::unique_ptr<OggMemoryDecoder> decoder(new OggMemoryDecoder(data, size));
    const ov_callbacks callbacks{&OggMemoryDecoder::Read, &OggMemoryDecoder::Seek, nullptr, &OggMemoryDecoder::Tell};
    // vorbisfile clears the file itself when opening fails.
    if (ov_open_callbacks(&decoder->source, &decoder->file, nullptr, 0, callbacks) != 0) {
        error = BASS_ERROR_FILEFORM;
        return nullptr;
    }
    decoder->opened = true;
    error = decoder->Validate();
    if (error != BASS_OK)
        return nullptr;
    return decoder;
}

OggMemoryDecoder::~OggMemoryDecoder()
{
    if (opened)
        ov_clear(&file);
}

int OggMemoryDecoder::Validate()
{
    const ogg_int64_t total = ov_pcm_total(&file, -1);
    if (ov_seekable(&file) == 0 || total < 0)
        return BASS_ERROR_FILEFORM;
    const long links = ov_streams(&file);
    for (long link = 0; link < links; ++link) {
        const vorbis_info* info = ov_info(&file, static_cast<int>(link));
        if (info == nullptr || info->channels < 1 || info->channels > 2 || info->rate <= 0)
            return BASS_ERROR_FORMAT;
        if (link == 0) {
            channels = info->channels;
            rate = info->rate;
        } else if (info->channels != channels || info->rate != rate) {
            return BASS_ERROR_FORMAT;
        }
    }
    totalFrames = static_cast<uint64_t>(total);
    return BASS_OK;
}

size_t OggMemoryDecoder::ReadStereo(float* out, size_t maxFrames)
{
    size_t done = 0;
    while (done < maxFrames) {
        float** pcm = nullptr;
        int link = 0;
        const int want = static_cast<int>(std::min<size_t>(maxFrames - done, 4096));
        const long got = ov_read_float(&file, &pcm, want, &link);
        if (got == OV_HOLE)
            continue; // a gap in the data: vorbisfile has skipped it, go on after it
        if (got <= 0)
            break;
        float* frame = out + 2 * done;
        for (long i = 0; i < got; ++i, frame += 2) {
            frame[0] = pcm[0][i];
            frame[1] = pcm[channels - 1][i];
        }
        done += static_cast<size_t>(got);
    }
    return done;
}

bool OggMemoryDecoder::Seek(uint64_t frame)
{
    return frame <= totalFrames && ov_pcm_seek(&file, static_cast<ogg_int64_t>(frame)) == 0;
}

size_t OggMemoryDecoder::Read(void* destination, size_t size, size_t count, void* opaque)
{
    auto* in = static_cast<Source*>(opaque);
    if (size == 0)
        return 0;
    const size_t items = std::min(count, (in->size - in->position) / size);
    std::memcpy(destination, in->data + in->position, items * size);
    in->position += items * size;
    return items;
}

int OggMemoryDecoder::Seek(void* opaque, ogg_int64_t offset, int whence)
{
    auto* in = static_cast<Source*>(opaque);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<ogg_int64_t>(in->position);
    else if (whence == SEEK_END)
        base = static_cast<ogg_int64_t>(in->size);
    else if (whence != SEEK_SET)
        return -1;
    // Checked before adding so that no offset can overflow.
    if (offset < -base || offset > static_cast<ogg_int64_t>(in->size) - base)
        return -1;
    in->position = static_cast<size_t>(base + offset);
    return 0;
}

long OggMemoryDecoder::Tell(void* opaque)
{
    return static_cast<long>(static_cast<Source*>(opaque)->position);
}

} // namespace bass::detail
