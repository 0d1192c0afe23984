// The lexical level of text ".x" files, read exactly as assimp's ".x" parser reads them (tokens,
// comments, separators, the optional separators after a vector, strings), but stricter: numbers
// must be plain (digits, a fraction only after a dot, an exponent with digits), counts and
// indices must fit in 32 bits, and bytes outside ASCII may only appear in strings and comments. A file this reader accepts therefore means the same to assimp,
// which lets XFileCheck vet a file completely before assimp parses it.
#pragma once

#include <cstdint>
#include <string>

namespace d3dx::detail {

class XTextReader {
public:
    XTextReader(const char* begin, const char* end);

    // The next token: one of ; , { } or a run of other characters up to a blank or one of those;
    // empty at the end of the data.
    std::string NextToken();
    // A count or an index, followed by a separator.
    uint32_t ReadCount(const char* what);
    // A floating-point number, followed by a separator. Only its form is checked.
    void ReadFloat();
    // n floats and an optional separator: a vector, a colour, texture coordinates.
    void ReadFloats(int n);
    // "name" followed directly by a semicolon.
    void ReadString();
    // The optional ';' or ',' after a list element.
    void SkipOptionalSeparator();
    // A ';' that follows immediately, with no blank in between (assimp's way after a list of indices).
    void SkipAdjacentSemicolon();
    void ExpectSemicolon();
    void ExpectClosingBrace();
    // Everything up to and including the next line end.
    void SkipLine();
    // The head of a data object: an optional name, then "{". Returns the name (empty when none).
    std::string ReadObjectHead();
    // An object this loader does not read: up to its "{", then to the matching "}".
    void SkipUnknownObject();

    [[noreturn]] void Fail(const std::string& fault) const;

private:
    void SkipBlanksAndComments();
    void ExpectSeparator();
    bool AtDigit(const char* at) const;
    void SkipDigits();

    const char* begin;
    const char* p;
    const char* end;
};

} // namespace d3dx::detail
