#include "TextSource.h"

#include "ToolMain.h"

#include "Framework/FileSys/ArchiveWriter.h"

#include <exception>

std::vector<unsigned char> ReadInputFile(const std::string& path)
{
    try {
        return ReadWholeFile(path);
    } catch (const std::exception& e) { // the stream's own failure, e.g. reading a folder
        RefuseFile(path, std::string("cannot be read: ") + e.what());
    }
}

std::u32string DecodeUtf8(const std::string& bytes, const std::string& where)
{
    std::u32string text;
    for (size_t i = 0; i < bytes.size();) {
        const auto fail = [&](const std::string& fault) {
            throw InputError{where + ": invalid UTF-8 at byte " + std::to_string(i + 1) + ": " + fault};
        };
        const auto lead = static_cast<unsigned char>(bytes[i]);
        size_t length = 1;
        char32_t c = lead;
        if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            c = lead & 0x07;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            c = lead & 0x0F;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            c = lead & 0x1F;
        } else if (lead >= 0x80) {
            fail(lead < 0xC0 ? "a continuation byte with no lead byte" : "a byte that never occurs in UTF-8");
        }
        for (size_t k = 1; k < length; ++k) {
            if (i + k >= bytes.size() || (static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                fail("the character is cut short");
            c = (c << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        }
        if ((length == 3 && c < 0x800) || (length == 4 && c < 0x10000))
            fail("an overlong form");
        if (c >= 0xD800 && c <= 0xDFFF)
            fail("a surrogate");
        if (c > 0x10FFFF)
            fail("a code point above U+10FFFF");
        text += c;
        i += length;
    }
    return text;
}

std::string EncodeUtf8(const std::u32string& text)
{
    std::string bytes;
    for (const char32_t c : text) {
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else if (c < 0x800) {
            bytes += static_cast<char>(0xC0 | (c >> 6));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            bytes += static_cast<char>(0xE0 | (c >> 12));
            bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | (c >> 18));
            bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return bytes;
}

std::vector<TextLine> ReadTextLines(const std::string& path)
{
    const std::vector<unsigned char> bytes = ReadInputFile(path);
    std::string content(bytes.begin(), bytes.end());
    if (content.starts_with("\xEF\xBB\xBF"))
        content.erase(0, 3);
    std::vector<TextLine> lines;
    size_t lineNumber = 0;
    for (size_t start = 0; start < content.size();) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.ends_with('\r'))
            line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        lines.push_back({std::move(line), path + ":" + std::to_string(lineNumber)});
    }
    return lines;
}

TextLine ReadTextLine(const std::string& path, uint32_t number)
{
    std::vector<TextLine> lines = ReadTextLines(path);
    if (number == 0 || number > lines.size())
        RefuseFile(path, "has " + std::to_string(lines.size()) + " line" + (lines.size() == 1 ? "" : "s") +
                             " of text, not " + std::to_string(number));
    return std::move(lines[number - 1]);
}
