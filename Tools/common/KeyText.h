// The readable text form of key lists (sync tracks, animation curves): one key a line, fields
// separated by blanks, "#" starts a comment that runs to the end of the line, blank lines are
// allowed. Faults name the file and the line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class KeyLine {
public:
    KeyLine(std::string path, size_t number, std::vector<std::string> fields);

    const std::vector<std::string>& Fields() const { return fields; }
    // "path:line", the prefix of every fault of this line.
    std::string Where() const;
    [[noreturn]] void Fail(const std::string& fault) const;

    // Fails unless the line holds exactly the given fields (e.g. {"row", "value", "interpolation"}).
    void ExpectFields(const std::vector<std::string>& names) const;
    // Field index as a finite float; what names the field in the message.
    float Float(size_t index, const std::string& what) const;
    // Field index as a whole number in 0 .. 4294967295.
    uint32_t Unsigned(size_t index, const std::string& what) const;

    size_t Number() const { return number; }

private:
    std::string path;
    size_t number;
    std::vector<std::string> fields;
};

// The text of the file at path. Throws InputError when the file cannot be read.
std::string ReadKeyText(const std::string& path);
// The lines of text (read from path) that hold a key, numbered from 1.
std::vector<KeyLine> SplitKeyLines(const std::string& text, const std::string& path);

// Text made of decimal digits only, as a number in 0 .. 4294967295; nullopt for anything else.
std::optional<uint32_t> ParseUint32(const std::string& text);

// The shortest text that reads back as exactly the same float, so that a key list survives
// compiling and decompiling unchanged.
std::string FormatFloat(float value);
