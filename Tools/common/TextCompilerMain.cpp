#include "TextCompilerMain.h"

#include "CommandLine.h"

#include "Framework/FileSys/ArchiveWriter.h"

int RunTextCompiler(const ToolInfo& tool, int argc, char** argv, const TextCompiler& compiler)
{
    return RunTool(tool, argc, argv, [&](const std::vector<std::string>& args) {
        const CommandLine line(args, {"-o"}, {"--decompile"});
        const std::string& input = line.Operands(1, "one input file")[0];
        const std::string& output = line.Value("-o");
        if (line.Has("--decompile")) {
            const std::string text = compiler.decompile(input, ReadWholeFile(input));
            WriteWholeFile(output, std::vector<unsigned char>(text.begin(), text.end()));
        } else {
            WriteWholeFile(output, compiler.compile(input));
        }
    });
}
