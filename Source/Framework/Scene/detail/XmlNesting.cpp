#include "Framework/Scene/detail/XmlNesting.h"

#include <algorithm>

namespace {

// Moves at past the next occurrence of end, or to the end of text.
void SkipPast(std::string_view text, size_t& at, std::string_view end)
{
    const size_t found = text.find(end, at);
    at = found == std::string_view::npos ? text.size() : found + end.size();
}

// Moves at past the '>' that closes a start tag and says whether the tag was "/>". A quote opens a
// value only right after '=' (blanks between), where the parser takes it as one; elsewhere it
// is an error that ends the parse, so the tag still ends at the next '>'.
bool SkipStartTag(std::string_view text, size_t& at)
{
    bool afterEquals = false;
    while (at < text.size()) {
        const char c = text[at++];
        if (c == '>')
            return text[at - 2] == '/';
        if (afterEquals && (c == '"' || c == '\'')) {
            SkipPast(text, at, std::string_view(&c, 1));
            afterEquals = false;
        } else if (c == '=')
            afterEquals = true;
        else if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            afterEquals = false;
    }
    return false;
}

} // namespace

size_t XmlNestingDepth(std::string_view text, size_t limit)
{
    size_t depth = 0, deepest = 0, at = 0;
    while (at < text.size()) {
        if (text[at] != '<') {
            ++at;
            continue;
        }
        const std::string_view rest = text.substr(at);
        if (rest.starts_with("<!--")) {
            at += 4;
            SkipPast(text, at, "-->");
        } else if (rest.starts_with("<![CDATA[")) {
            at += 9;
            SkipPast(text, at, "]]>");
        } else if (rest.starts_with("<?") || rest.starts_with("<!")) {
            at += 2;
            SkipPast(text, at, ">");
        } else if (rest.starts_with("</")) {
            depth -= depth > 0 ? 1 : 0;
            at += 2;
            SkipPast(text, at, ">");
        } else {
            ++at;
            deepest = std::max(deepest, ++depth);
            if (deepest > limit)
                return limit + 1;
            if (SkipStartTag(text, at))
                --depth;
        }
    }
    return deepest;
}
