// The facts a show's texts are made from (Data/invitation.txt: the party's name, dates, place, the
// makers), and texts that name them by key. Written once, they cannot disagree between the cards,
// the scroller and the README.
//
// The file: one fact a line, "key = value". A key is a lower-case letter followed by lower-case
// letters, digits or '_'; the value is the rest of the line after the '=', blanks around it
// dropped, in UTF-8, never empty. Blank lines and lines whose first non-blank character is '#'
// do not count; each key appears once.
//
// In a text, "{key}" stands for the fact's value and "{key:upper}" for it in capitals; '{' and '}'
// stand for nothing else.
#pragma once

#include <map>
#include <string>

class Facts {
public:
    // Throws InputError naming the file and line of the first fault.
    static Facts Read(const std::string& path);

    // The value of key; throws InputError naming the file when it has no such fact.
    const std::string& Value(const std::string& key) const;

    // text with its facts filled in. where ("path:line") names the text in the InputError thrown
    // for a key the file lacks, an unknown form or a brace without its partner.
    std::string Fill(const std::string& text, const std::string& where) const;

private:
    std::string path;
    std::map<std::string, std::string> values;
};
