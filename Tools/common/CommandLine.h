// A tool's command line split into options and operands, checked against what the tool accepts.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

class CommandLine {
public:
    // valueOptions take the next argument as their value ("-o FILE"); flags take none. Anything
    // else that starts with "-" is refused, as is an option given twice; "--" ends the options.
    // Throws UsageError.
    CommandLine(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
                const std::set<std::string>& flags);

    bool Has(const std::string& option) const;
    // The value of a value option; throws UsageError when it was not given.
    const std::string& Value(const std::string& option) const;
    // The operands, which must number exactly count; throws UsageError naming what is expected.
    const std::vector<std::string>& Operands(size_t count, const std::string& expected) const;

private:
    std::map<std::string, std::string> values;
    std::set<std::string> given;
    std::vector<std::string> operands;
};
