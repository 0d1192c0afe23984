#include "OggDecode.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

namespace synthtest {
namespace {

struct Reader {
    const std::vector<unsigned char>* bytes;
    size_t position = 0;
};

size_t Read(void* out, size_t size, size_t count, void* source)
{
    auto& reader = *static_cast<Reader*>(source);
    const size_t wanted = size * count;
    const size_t available = std::min(wanted, reader.bytes->size() - reader.position);
    std::memcpy(out, reader.bytes->data() + reader.position, available);
    reader.position += available;
    return size == 0 ? 0 : available / size;
}

int Seek(void* source, ogg_int64_t offset, int whence)
{
    auto& reader = *static_cast<Reader*>(source);
    const long long base = whence == SEEK_SET ? 0
                         : whence == SEEK_CUR ? static_cast<long long>(reader.position)
                                              : static_cast<long long>(reader.bytes->size());
    const long long target = base + offset;
    if (target < 0 || target > static_cast<long long>(reader.bytes->size()))
        return -1;
    reader.position = static_cast<size_t>(target);
    return 0;
}

long Tell(void* source)
{
    return static_cast<long>(static_cast<Reader*>(source)->position);
}

} // namespace

DecodedAudio DecodeOgg(const std::vector<unsigned char>& bytes)
{
    DecodedAudio audio;
    Reader reader{&bytes};
    OggVorbis_File file;
    const ov_callbacks callbacks{Read, Seek, nullptr, Tell};
    if (ov_open_callbacks(&reader, &file, nullptr, 0, callbacks) != 0) {
        ADD_FAILURE() << "libvorbisfile does not take the stream";
        return audio;
    }
    const vorbis_info* info = ov_info(&file, -1);
    audio.rate = info->rate;
    audio.channels = info->channels;
    audio.serial = ov_serialnumber(&file, -1);
    if (audio.channels != 2) {
        ADD_FAILURE() << "expected stereo, got " << audio.channels << " channels";
        ov_clear(&file);
        return audio;
    }
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        const long frames = ov_read_float(&file, &pcm, 4096, &section);
        if (frames == 0)
            break;
        if (frames < 0) {
            ADD_FAILURE() << "decoding error " << frames;
            break;
        }
        audio.left.insert(audio.left.end(), pcm[0], pcm[0] + frames);
        audio.right.insert(audio.right.end(), pcm[1], pcm[1] + frames);
    }
    ov_clear(&file);
    return audio;
}

} // namespace synthtest
