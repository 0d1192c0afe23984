#include "Facts.h"

#include "TextSource.h"
#include "ToolMain.h"

#include <locale.h>
#include <wctype.h>

namespace {

bool IsKey(const std::string& key)
{
    if (key.empty() || key[0] < 'a' || key[0] > 'z')
        return false;
    for (const char c : key)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    return true;
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Capitals by Unicode's simple case mapping (glibc's C.UTF-8 locale), the same whatever locale
// the build runs in: "Kestermouth Quay" gives "KESTERMOUTH QUAY", "é" gives "É".
std::string Upper(const std::string& value, const std::string& where)
{
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
    if (!unicode)
        throw InputError{where + ": cannot write capitals: the C library has no C.UTF-8 locale"};
    std::u32string text = DecodeUtf8(value, where);
    for (char32_t& c : text)
        c = static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), unicode));
    return EncodeUtf8(text);
}

} // namespace

Facts Facts::Read(const std::string& path)
{
    Facts facts;
    facts.path = path;
    for (const TextLine& line : ReadTextLines(path)) {
        const size_t equals = line.text.find('=');
        if (equals == std::string::npos)
            throw InputError{line.where + ": expected 'key = value'"};
        const std::string key = Trimmed(line.text.substr(0, equals));
        const std::string value = Trimmed(line.text.substr(equals + 1));
        if (!IsKey(key))
            throw InputError{line.where + ": bad key '" + key +
                             "': expected a lower-case letter, then lower-case letters, digits or '_'"};
        if (value.empty())
            throw InputError{line.where + ": the fact '" + key + "' is empty"};
        DecodeUtf8(value, line.where);
        if (!facts.values.emplace(key, value).second)
            throw InputError{line.where + ": the fact '" + key + "' is given twice"};
    }
    return facts;
}

const std::string& Facts::Value(const std::string& key) const
{
    const auto found = values.find(key);
    if (found == values.end())
        RefuseFile(path, "has no fact '" + key + "'");
    return found->second;
}

std::string Facts::Fill(const std::string& text, const std::string& where) const
{
    std::string filled;
    for (size_t at = 0; at < text.size();) {
        const size_t open = text.find_first_of("{}", at);
        if (open == std::string::npos) {
            filled += text.substr(at);
            break;
        }
        if (text[open] == '}')
            throw InputError{where + ": a '}' with no '{' before it"};
        filled += text.substr(at, open - at);
        const size_t close = text.find_first_of("{}", open + 1);
        if (close == std::string::npos || text[close] == '{')
            throw InputError{where + ": a '{' with no '}' after it"};
        const std::string name = text.substr(open + 1, close - open - 1);
        const size_t colon = name.find(':');
        const std::string key = name.substr(0, colon);
        if (values.find(key) == values.end())
            throw InputError{where + ": {" + name + "}: " + path + " has no fact '" + key + "'"};
        if (colon == std::string::npos)
            filled += values.at(key);
        else if (name.substr(colon + 1) == "upper")
            filled += Upper(values.at(key), where);
        else
            throw InputError{where + ": {" + name + "}: unknown form '" + name.substr(colon + 1) +
                             "': the only one is 'upper'"};
        at = close + 1;
    }
    return filled;
}
