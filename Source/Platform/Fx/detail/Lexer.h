// Splits one file of effect source into tokens, keeping the line of each, and hands out the raw
// text of GLSL blocks, which it does not tokenise.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fx::detail {

enum class TokenKind { Identifier, Number, String, Symbol, Include, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text; // the identifier, the number as written, the string's contents, the symbol
    uint32_t line = 0;
};

// "'{'", "'float4'", "number 3", "string \"a\"", "end of file": what a message says was found.
std::string Describe(const Token& token);

struct RawText {
    std::string text;
    uint32_t line = 0; // where text starts
};

// Faults throw EffectError naming the file and the line.
class Lexer {
public:
    Lexer(std::string_view source, std::string fileName);

    Token Next();
    // The text up to the '}' that closes a '{' just taken by Next, which it skips; braces inside
    // are counted and comments are skipped over whole, so that a brace in a comment is no brace.
    RawText BlockBody(uint32_t openLine);

private:
    [[noreturn]] void Fail(uint32_t at, const std::string& fault) const;
    Token Lex();
    void SkipBlanksAndComments();
    void SkipComment(); // at "//" or "/*"
    char Peek(size_t ahead = 0) const;
    Token Number();
    Token String();
    Token Directive();

    std::string_view source;
    size_t position = 0;
    uint32_t line = 1;
    uint32_t lastLine = 1; // of the last token handed out
    std::string fileName;
};

} // namespace fx::detail
