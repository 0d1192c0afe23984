#include "CurveText.h"

#include "KeyText.h"
#include "ToolMain.h"

#include <cmath>

namespace {

std::string KeyLabel(size_t index)
{
    return "key " + std::to_string(index);
}

} // namespace

std::vector<CurveKey> ReadCurveText(const std::string& path)
{
    return ParseCurveText(ReadKeyText(path), path);
}

std::vector<CurveKey> ParseCurveText(const std::string& text, const std::string& path)
{
    std::vector<CurveKey> keys;
    size_t previousLine = 0;
    for (const KeyLine& line : SplitKeyLines(text, path)) {
        line.ExpectFields({"time", "value", "inSlope", "outSlope"});
        const CurveKey key{line.Float(0, "time"), line.Float(1, "value"), line.Float(2, "inSlope"),
                           line.Float(3, "outSlope")};
        // Evaluation divides by the distance to the next key's time and searches in time order.
        if (!keys.empty() && !(key.time > keys.back().time))
            line.Fail("time " + FormatFloat(key.time) + " does not come after the time " +
                      FormatFloat(keys.back().time) + " of the previous key (line " + std::to_string(previousLine) +
                      "); times must ascend");
        keys.push_back(key);
        previousLine = line.Number();
    }
    if (keys.empty())
        RefuseFile(path, "no keys; the show would take an empty curve for a missing one");
    return keys;
}

std::string FormatCurveText(const std::vector<CurveKey>& keys)
{
    std::string text;
    for (const CurveKey& key : keys)
        text += FormatFloat(key.time) + " " + FormatFloat(key.value) + " " + FormatFloat(key.inSlope) + " " +
                FormatFloat(key.outSlope) + "\n";
    return text;
}

std::vector<CurveKey> DecodeCurveFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    if (bytes.size() % CurveKeySize != 0)
        RefuseFile(path, std::to_string(bytes.size()) + " bytes, not a whole number of " +
                             std::to_string(CurveKeySize) + "-byte keys");
    const std::vector<CurveKey> keys = DecodeCurveKeys(bytes.data(), bytes.size());
    if (keys.empty())
        RefuseFile(path, "no keys");
    for (size_t i = 0; i < keys.size(); ++i) {
        const CurveKey& key = keys[i];
        for (float number : {key.time, key.value, key.inSlope, key.outSlope})
            if (!std::isfinite(number))
                RefuseFile(path, KeyLabel(i) + " holds a number that is not finite");
        if (i > 0 && !(key.time > keys[i - 1].time))
            RefuseFile(path, KeyLabel(i) + " at time " + FormatFloat(key.time) +
                                 " does not come after the time of " + KeyLabel(i - 1));
    }
    return keys;
}
