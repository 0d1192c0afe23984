// Where the text of a mesh or a card comes from: a command-line argument or lines of a UTF-8 text
// file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The bytes of an input file. Throws InputError naming the file when it cannot be read, a folder
// included.
std::vector<unsigned char> ReadInputFile(const std::string& path);

// The characters of UTF-8 bytes. Throws InputError "where: ..." naming the byte (counted from 1)
// where the encoding goes wrong: a stray or missing continuation byte, an overlong form, a
// surrogate or a code point above U+10FFFF.
std::u32string DecodeUtf8(const std::string& bytes, const std::string& where);

// The UTF-8 bytes of characters that are Unicode scalar values (as DecodeUtf8 gives them).
std::string EncodeUtf8(const std::u32string& text);

struct TextLine {
    std::string text;  // the line as it stands, without its line break
    std::string where; // "path:line"
};

// The lines of the file at path that hold text, in order. Lines that are blank or whose first
// non-blank character is '#' do not count; a UTF-8 byte order mark at the start is skipped, and a
// line's '\r' before its line break too. Throws InputError naming the file when it cannot be read.
std::vector<TextLine> ReadTextLines(const std::string& path);

// The number-th of those lines, from 1. Throws InputError naming the file when it cannot be read
// or has fewer lines of text.
TextLine ReadTextLine(const std::string& path, uint32_t number);
