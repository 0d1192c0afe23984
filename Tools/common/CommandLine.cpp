#include "CommandLine.h"

#include "ToolMain.h"

CommandLine::CommandLine(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
                         const std::set<std::string>& flags)
{
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!valueOptions.contains(arg) && !flags.contains(arg))
            throw UsageError{"unknown option '" + arg + "'"};
        if (!given.insert(arg).second)
            throw UsageError{"option '" + arg + "' given twice"};
        if (valueOptions.contains(arg)) {
            if (i + 1 == args.size())
                throw UsageError{"option '" + arg + "' needs a value"};
            values[arg] = args[++i];
        }
    }
}

bool CommandLine::Has(const std::string& option) const
{
    return given.contains(option);
}

const std::string& CommandLine::Value(const std::string& option) const
{
    const auto found = values.find(option);
    if (found == values.end())
        throw UsageError{"option '" + option + "' is required"};
    return found->second;
}

const std::vector<std::string>& CommandLine::Operands(size_t count, const std::string& expected) const
{
    if (operands.size() != count)
        throw UsageError{"expected " + expected + ", got " + std::to_string(operands.size()) + " argument" +
                         (operands.size() == 1 ? "" : "s")};
    return operands;
}
