// What curvec reads: the text form of an animation curve and the binary curve file it decompiles.
// Each input is tried both ways. Text is either refused or gives keys whose text form reads back
// the same; file bytes are either refused or give keys whose text form reads back the same.
#include "CurveText.h"
#include "FuzzCheck.h"
#include "ToolMain.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t MaxInput = 64 * 1024;

bool Same(const std::vector<CurveKey>& a, const std::vector<CurveKey>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(CurveKey)) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > MaxInput)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const std::vector<CurveKey> keys = ParseCurveText(text, "fuzz.txt");
        FuzzCheck(!keys.empty(), "an accepted curve has keys");
        for (size_t i = 1; i < keys.size(); ++i)
            FuzzCheck(keys[i - 1].time < keys[i].time, "key times ascend");
        FuzzCheck(Same(ParseCurveText(FormatCurveText(keys), "again.txt"), keys), "the text form reads back the same");
    } catch (const InputError& e) {
        FuzzCheck(e.message.rfind("fuzz.txt", 0) == 0, "a fault names the file");
    }
    try {
        const std::vector<CurveKey> keys = DecodeCurveFile("fuzz.curve", std::vector<unsigned char>(data, data + size));
        FuzzCheck(Same(ParseCurveText(FormatCurveText(keys), "again.txt"), keys), "decompiled keys read back the same");
    } catch (const InputError& e) {
        FuzzCheck(e.message.rfind("fuzz.curve", 0) == 0, "a fault names the file");
    }
    return 0;
}
