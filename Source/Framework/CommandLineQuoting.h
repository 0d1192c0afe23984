// The program's arguments as one command line and back, quoted as the Windows command line is, so
// that an empty argument or one with blanks or quotes comes back as it went in.
#pragma once

#include <string>
#include <vector>

// Joins with blanks; an argument that is empty or holds a blank or a quote is put in quotes, its
// quotes escaped with a backslash and the backslashes before them doubled.
std::string JoinArguments(const std::vector<std::string>& arguments);

// The arguments of a command line: blanks separate them outside quotes; 2n backslashes before a
// quote are n and the quote opens or closes, 2n + 1 are n and a literal quote; other backslashes
// are themselves. A pair of quotes is an argument even when it holds nothing.
std::vector<std::string> SplitArguments(const std::string& commandLine);
