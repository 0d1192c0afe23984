#include "Framework/CommandLineQuoting.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void AppendQuoted(std::string& line, const std::string& argument)
{
    bool plain = !argument.empty();
    for (const char c : argument)
        plain = plain && !IsBlank(c) && c != '"';
    if (plain) {
        line += argument;
        return;
    }
    line += '"';
    size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless a quote follows them.
        line.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        line += c;
        backslashes = 0;
    }
    // The closing quote follows: double the backslashes before it.
    line.append(2 * backslashes, '\\');
    line += '"';
}

} // namespace

std::string JoinArguments(const std::vector<std::string>& arguments)
{
    std::string line;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0)
            line += ' ';
        AppendQuoted(line, arguments[i]);
    }
    return line;
}

std::vector<std::string> SplitArguments(const std::string& commandLine)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false, quoted = false;
    for (size_t i = 0; i < commandLine.size(); ++i) {
        const char c = commandLine[i];
        if (!quoted && IsBlank(c)) {
            if (inArgument)
                arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
            continue;
        }
        inArgument = true;
        if (c == '\\') {
            size_t backslashes = 0;
            while (i < commandLine.size() && commandLine[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < commandLine.size() && commandLine[i] == '"') {
                current.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1)
                    current += '"';
                else
                    quoted = !quoted;
            } else {
                current.append(backslashes, '\\');
                --i; // the character after the backslashes is read by the next turn
            }
        } else if (c == '"') {
            quoted = !quoted;
        } else {
            current += c;
        }
    }
    if (inArgument)
        arguments.push_back(std::move(current));
    return arguments;
}
