// Where the text of a mesh comes from: a command-line argument or one line of a UTF-8 text file.
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

struct TextLine {
    std::string text;  // the line as it stands, without its line break
    std::string where; // "path:line"
};

// The number-th line (from 1) of the file at path that holds text. Lines that are blank or whose
// first non-blank character is '#' do not count; a UTF-8 byte order mark at the start is skipped.
// Throws InputError naming the file when it cannot be read or has fewer lines of text.
TextLine ReadTextLine(const std::string& path, uint32_t number);
