// What trackc reads: the text form of a sync track and the ".track" file it decompiles. Each input
// is tried both ways. Text is either refused or gives keys whose text form reads back the same;
// file bytes are either refused or give keys that encode back to bytes decoding the same.
#include "FuzzCheck.h"
#include "ToolMain.h"
#include "TrackText.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t MaxInput = 64 * 1024;

bool Same(const std::vector<TrackRecord>& a, const std::vector<TrackRecord>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].row != b[i].row || a[i].type != b[i].type || std::memcmp(&a[i].value, &b[i].value, sizeof(float)) != 0)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > MaxInput)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const std::vector<TrackRecord> keys = ParseTrackText(text, "fuzz.txt");
        FuzzCheck(Same(ParseTrackText(FormatTrackText(keys), "again.txt"), keys), "the text form reads back the same");
        const std::vector<unsigned char> bytes = EncodeTrackRecords(keys);
        FuzzCheck(Same(DecodeTrackFile("fuzz.track", bytes), keys), "compiled keys decompile to the same keys");
    } catch (const InputError& e) {
        FuzzCheck(e.message.rfind("fuzz.txt:", 0) == 0, "a fault names the file");
    }
    try {
        const std::vector<TrackRecord> keys = DecodeTrackFile("fuzz.track", std::vector<unsigned char>(data, data + size));
        FuzzCheck(Same(ParseTrackText(FormatTrackText(keys), "again.txt"), keys), "decompiled keys read back the same");
    } catch (const InputError& e) {
        FuzzCheck(e.message.rfind("fuzz.track:", 0) == 0, "a fault names the file");
    }
    return 0;
}
