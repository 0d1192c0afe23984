#include "TrackText.h"

#include "KeyText.h"
#include "ToolMain.h"

#include <array>
#include <cmath>
#include <map>

namespace {

// Indexed by SyncKey::Type.
constexpr std::array<const char*, 4> InterpolationNames = {"step", "linear", "cosine", "quadratic"};

int8_t InterpolationOf(const KeyLine& line, const std::string& name)
{
    for (size_t kind = 0; kind < InterpolationNames.size(); ++kind)
        if (name == InterpolationNames[kind])
            return static_cast<int8_t>(kind);
    line.Fail("unknown interpolation '" + name + "': expected step, linear, cosine or quadratic");
}

std::string KeyLabel(size_t index, const TrackRecord& record)
{
    return "key " + std::to_string(index) + " (row " + std::to_string(record.row) + ")";
}

} // namespace

std::vector<TrackRecord> ReadTrackText(const std::string& path)
{
    return ParseTrackText(ReadKeyText(path), path);
}

std::vector<TrackRecord> ParseTrackText(const std::string& text, const std::string& path)
{
    std::vector<TrackRecord> records;
    std::map<uint32_t, size_t> lineOfRow;
    for (const KeyLine& line : SplitKeyLines(text, path)) {
        line.ExpectFields({"row", "value", "interpolation"});
        TrackRecord record;
        record.row = line.Unsigned(0, "row");
        record.value = line.Float(1, "value");
        record.type = InterpolationOf(line, line.Fields()[2]);
        const auto [first, inserted] = lineOfRow.emplace(record.row, line.Number());
        if (!inserted)
            line.Fail("duplicate row " + std::to_string(record.row) + " (first given on line " +
                      std::to_string(first->second) + ")");
        records.push_back(record);
    }
    return records;
}

std::string FormatTrackText(const std::vector<TrackRecord>& records)
{
    std::string text;
    for (const TrackRecord& record : records)
        text += std::to_string(record.row) + " " + FormatFloat(record.value) + " " +
                InterpolationNames.at(static_cast<size_t>(record.type)) + "\n";
    return text;
}

std::vector<TrackRecord> DecodeTrackFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    if (bytes.size() < TrackHeaderSize)
        RefuseFile(path, "only " + std::to_string(bytes.size()) + " bytes, too short for the 4-byte key count");

    const uint64_t claimed = uint64_t(bytes[0]) | uint64_t(bytes[1]) << 8 | uint64_t(bytes[2]) << 16 |
                             uint64_t(bytes[3]) << 24;
    const uint64_t expected = TrackHeaderSize + claimed * TrackRecordSize;
    if (expected > bytes.size())
        RefuseFile(path, "the key count " + std::to_string(claimed) + " needs " + std::to_string(expected) +
                             " bytes but the file holds " + std::to_string(bytes.size()));
    if (expected < bytes.size())
        RefuseFile(path, std::to_string(bytes.size() - expected) + " bytes follow the " +
                             std::to_string(claimed) + " counted keys");

    const std::vector<TrackRecord> records = DecodeTrackRecords(bytes.data(), bytes.size());
    std::map<uint32_t, size_t> indexOfRow;
    for (size_t i = 0; i < records.size(); ++i) {
        const TrackRecord& record = records[i];
        if (record.type < 0 || static_cast<size_t>(record.type) >= InterpolationNames.size())
            RefuseFile(path, KeyLabel(i, record) + " has interpolation kind " + std::to_string(record.type) +
                                 ", expected 0 to 3");
        if (!std::isfinite(record.value))
            RefuseFile(path, KeyLabel(i, record) + " has a value that is not a finite number");
        const auto [first, inserted] = indexOfRow.emplace(record.row, i);
        if (!inserted)
            RefuseFile(path, KeyLabel(i, record) + " repeats the row of key " + std::to_string(first->second));
    }
    return records;
}
