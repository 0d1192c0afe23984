#include "Platform/D3DX/detail/XTextReader.h"

#include "Platform/D3DX/D3DXDataError.h"

#include <algorithm>

namespace d3dx::detail {

namespace {

// isspace in the C locale, which is what assimp's reader sees.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDelimiter(char c)
{
    return c == ';' || c == ',' || c == '{' || c == '}';
}

} // namespace

XTextReader::XTextReader(const char* begin, const char* end) : begin(begin), p(begin), end(end) {}

void XTextReader::Fail(const std::string& fault) const
{
    const long line = 1 + std::count(begin, p, '\n');
    throw D3DXDataError("line " + std::to_string(line) + ": " + fault);
}

bool XTextReader::AtDigit(const char* at) const
{
    return at < end && *at >= '0' && *at <= '9';
}

void XTextReader::SkipLine()
{
    while (p < end) {
        const char c = *p++;
        if (c == '\n' || c == '\r')
            return;
    }
}

void XTextReader::SkipBlanksAndComments()
{
    for (;;) {
        while (p < end && IsBlank(*p))
            ++p;
        if (p >= end)
            return;
        if (*p == '#' || (*p == '/' && p + 1 < end && p[1] == '/'))
            SkipLine();
        else
            return;
    }
}

std::string XTextReader::NextToken()
{
    SkipBlanksAndComments();
    std::string token;
    while (p < end && !IsBlank(*p)) {
        if (IsDelimiter(*p)) {
            if (token.empty())
                token.push_back(*p++);
            break;
        }
        // Whether such a byte is a blank depends on the locale assimp runs in; refusing it keeps
        // both readers splitting the text alike.
        if (static_cast<unsigned char>(*p) >= 0x80)
            Fail("a byte outside ASCII outside a string or a comment");
        token.push_back(*p++);
    }
    return token;
}

void XTextReader::ExpectSeparator()
{
    const std::string token = NextToken();
    if (token != ";" && token != ",")
        Fail(token.empty() ? "the file ends where a separator (';' or ',') is expected"
                           : "expected a separator (';' or ','), found '" + token + "'");
}

void XTextReader::ExpectSemicolon()
{
    const std::string token = NextToken();
    if (token != ";")
        Fail("expected ';', found '" + token + "'");
}

void XTextReader::ExpectClosingBrace()
{
    const std::string token = NextToken();
    if (token != "}")
        Fail("expected '}', found '" + token + "'");
}

uint32_t XTextReader::ReadCount(const char* what)
{
    SkipBlanksAndComments();
    if (!AtDigit(p))
        Fail(std::string("expected ") + what + " (a whole number from 0 to 4294967295)");
    uint64_t value = 0;
    while (AtDigit(p)) {
        value = value * 10 + uint64_t(*p++ - '0');
        if (value > UINT32_MAX)
            Fail(std::string(what) + " is larger than 4294967295");
    }
    ExpectSeparator();
    return static_cast<uint32_t>(value);
}

void XTextReader::ReadFloat()
{
    SkipBlanksAndComments();
    if (p < end && *p == '-')
        ++p;
    const bool integerPart = AtDigit(p);
    if (integerPart) {
        SkipDigits();
        // assimp reads "1,5" as 1.5 where a list means 1 and 5: refuse what can be read both ways.
        if (p < end && *p == ',' && AtDigit(p + 1))
            Fail("write the number before ',' with a decimal point (\"1.0,\" rather than \"1,\")");
    }
    if (p < end && *p == '.' && AtDigit(p + 1)) {
        ++p;
        SkipDigits();
    } else if (!integerPart || (p < end && *p == '.')) {
        Fail("expected a number such as 1, -0.5 or 2.5e-3");
    }
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p < end && (*p == '-' || *p == '+'))
            ++p;
        if (!AtDigit(p))
            Fail("expected the digits of an exponent");
        SkipDigits();
    }
    ExpectSeparator();
}

void XTextReader::SkipDigits()
{
    // assimp reads a longer run of digits (before the point or in an exponent) as an overflow.
    constexpr int MaxDigits = 18;
    for (int digits = 0; AtDigit(p); ++p)
        if (++digits > MaxDigits)
            Fail("a number with more than 18 digits in a row");
}

void XTextReader::ReadFloats(int n)
{
    for (int i = 0; i < n; ++i)
        ReadFloat();
    SkipOptionalSeparator();
}

void XTextReader::SkipOptionalSeparator()
{
    SkipBlanksAndComments();
    if (p < end && (*p == ';' || *p == ','))
        ++p;
}

void XTextReader::SkipAdjacentSemicolon()
{
    if (p < end && *p == ';')
        ++p;
}

void XTextReader::ReadString()
{
    SkipBlanksAndComments();
    if (p >= end || *p != '"')
        Fail("expected a string in double quotes");
    ++p;
    while (p < end && *p != '"')
        ++p;
    if (end - p < 2 || p[1] != ';')
        Fail("a string must end with '\";'");
    p += 2;
}

std::string XTextReader::ReadObjectHead()
{
    const std::string token = NextToken();
    if (token == "{")
        return {};
    if (NextToken() != "{")
        Fail("expected '{' after '" + token + "'");
    return token;
}

void XTextReader::SkipUnknownObject()
{
    for (;;) {
        const std::string token = NextToken();
        if (token.empty())
            Fail("the file ends inside an object");
        if (token == "{")
            break;
    }
    for (unsigned depth = 1; depth > 0;) {
        const std::string token = NextToken();
        if (token.empty())
            Fail("the file ends inside an object");
        if (token == "{")
            ++depth;
        else if (token == "}")
            --depth;
    }
}

} // namespace d3dx::detail
