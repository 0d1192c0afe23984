#include "Platform/Fx/detail/Lexer.h"

#include "Platform/Fx/EffectError.h"

#include <cstdio>
#include <string_view>

namespace fx::detail {

namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr std::string_view Symbols = "{}()[]<>;:=,|-+";

std::string Printable(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x21 && byte < 0x7f)
        return std::string("'") + c + "'";
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02x", byte);
    return std::string("byte ") + hex;
}

} // namespace

std::string Describe(const Token& token)
{
    switch (token.kind) {
    case TokenKind::Identifier:
    case TokenKind::Symbol: return "'" + token.text + "'";
    case TokenKind::Number: return "number " + token.text;
    case TokenKind::String: return "string \"" + token.text + "\"";
    case TokenKind::Include: return "#include";
    case TokenKind::End: return "end of file";
    }
    return "?";
}

Lexer::Lexer(std::string_view source, std::string fileName) : source(source), fileName(std::move(fileName))
{
}

void Lexer::Fail(uint32_t at, const std::string& fault) const
{
    throw EffectError(fileName, at, fault);
}

char Lexer::Peek(size_t ahead) const
{
    return position + ahead < source.size() ? source[position + ahead] : '\0';
}

void Lexer::SkipComment()
{
    const uint32_t start = line;
    if (Peek(1) == '/') {
        while (position < source.size() && source[position] != '\n')
            ++position;
        return;
    }
    position += 2;
    while (position < source.size() && !(source[position] == '*' && Peek(1) == '/')) {
        if (source[position] == '\n')
            ++line;
        ++position;
    }
    if (position >= source.size())
        Fail(start, "comment opened here is never closed ('*/' expected)");
    position += 2;
}

void Lexer::SkipBlanksAndComments()
{
    while (position < source.size()) {
        const char c = source[position];
        if (c == '\n') {
            ++line;
            ++position;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            ++position;
        } else if (c == '/' && (Peek(1) == '/' || Peek(1) == '*')) {
            SkipComment();
        } else {
            return;
        }
    }
}

Token Lexer::Next()
{
    Token token = Lex();
    lastLine = token.line;
    return token;
}

Token Lexer::Lex()
{
    SkipBlanksAndComments();
    // The end of a file is reported where its last word stands, next to what it lacks.
    if (position >= source.size())
        return Token{TokenKind::End, "", lastLine};
    const char c = source[position];
    if (IsLetter(c)) {
        const size_t start = position;
        while (IsLetter(Peek()) || IsDigit(Peek()))
            ++position;
        return Token{TokenKind::Identifier, std::string(source.substr(start, position - start)), line};
    }
    if (IsDigit(c) || (c == '.' && IsDigit(Peek(1))))
        return Number();
    if (c == '"')
        return String();
    if (c == '#')
        return Directive();
    if (Symbols.find(c) != std::string_view::npos) {
        ++position;
        return Token{TokenKind::Symbol, std::string(1, c), line};
    }
    Fail(line, "unexpected " + Printable(c));
}

Token Lexer::Number()
{
    const size_t start = position;
    while (IsDigit(Peek()))
        ++position;
    if (Peek() == '.') {
        ++position;
        while (IsDigit(Peek()))
            ++position;
    }
    if ((Peek() == 'e' || Peek() == 'E') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '-' || Peek(1) == '+') && IsDigit(Peek(2))))) {
        position += 2;
        while (IsDigit(Peek()))
            ++position;
    }
    std::string text(source.substr(start, position - start));
    if (Peek() == 'f' || Peek() == 'F')
        ++position; // HLSL's float suffix says nothing more
    if (IsLetter(Peek()) || IsDigit(Peek()) || Peek() == '.')
        Fail(line, "malformed number '" + text + Peek() + "'");
    return Token{TokenKind::Number, text, line};
}

Token Lexer::String()
{
    std::string text;
    ++position;
    while (true) {
        const char c = Peek();
        if (position >= source.size() || c == '\n')
            Fail(line, "string is not closed on its line ('\"' expected)");
        ++position;
        if (c == '"')
            return Token{TokenKind::String, text, line};
        if (c == '\\') {
            const char escaped = Peek();
            if (escaped != '"' && escaped != '\\')
                Fail(line, "unknown escape in string: only \\\" and \\\\ are understood");
            ++position;
            text += escaped;
        } else {
            text += c;
        }
    }
}

Token Lexer::Directive()
{
    const uint32_t at = line;
    ++position;
    while (Peek() == ' ' || Peek() == '\t')
        ++position;
    const size_t start = position;
    while (IsLetter(Peek()) || IsDigit(Peek()))
        ++position;
    const std::string_view word = source.substr(start, position - start);
    if (word != "include")
        Fail(at, "unknown directive '#" + std::string(word) + "': only #include is understood outside glsl blocks");
    return Token{TokenKind::Include, "include", at};
}

RawText Lexer::BlockBody(uint32_t openLine)
{
    RawText body{"", line};
    const size_t start = position;
    int depth = 1;
    while (position < source.size()) {
        const char c = source[position];
        if (c == '/' && (Peek(1) == '/' || Peek(1) == '*')) {
            SkipComment();
            continue;
        }
        if (c == '\n')
            ++line;
        else if (c == '{')
            ++depth;
        else if (c == '}' && --depth == 0) {
            body.text = std::string(source.substr(start, position - start));
            ++position;
            return body;
        }
        ++position;
    }
    Fail(openLine, "'{' opened here is never closed ('}' expected)");
}

} // namespace fx::detail
