// fxc: compiles an effect source with its includes into the compiled form the show loads
// ("OShaders\<name>o" in the archive), after checking its structure and its GLSL.
#include "CommandLine.h"
#include "GlslValidator.h"
#include "ToolMain.h"

#include "Framework/FileSys/ArchiveWriter.h"
#include "Platform/Fx/CompiledEffect.h"
#include "Platform/Fx/EffectError.h"
#include "Platform/Fx/EffectParser.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

const ToolInfo Tool{"fxc", R"(Usage: fxc SOURCE.fx [-I INCLUDEDIR] -o OUT

Compiles an effect: parses SOURCE.fx and the files it includes, checks the GLSL of every glsl
block and links the blocks of every pass with glslang, and writes the compiled effect.
The language is described in Source/Platform/Fx/EffectLanguage.md.

Options:
  -I DIR      the folder #include "name" reads from (default: the folder of SOURCE.fx)
  -o FILE     where to write the compiled effect (required; written only when all is well)
  --help      show this help

Messages name the file and line at fault ("common.fxh:12: expected ';' ..."), GLSL errors
included. The compiled effect names its files as the show sees them: SOURCE's own name, and
each include as it is written.

Exit status: 0 on success, 1 when the effect cannot be read or holds a fault, 2 on a usage error.
)"};

std::optional<std::string> ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return text.str();
}

// The effect's files as messages name them: the source as given, includes inside their folder.
std::string DisplayName(const std::string& file, const std::string& sourceName, const std::filesystem::path& source,
                        const std::filesystem::path& includes)
{
    return file == sourceName ? source.string() : (includes / file).string();
}

void Compile(const std::filesystem::path& source, const std::filesystem::path& includes, const std::string& output)
{
    const auto text = ReadText(source);
    if (!text)
        RefuseFile(source.string(), "cannot read the effect");
    const std::string sourceName = source.filename().string();
    const auto include = [&](const std::string& name) { return ReadText(includes / name); };
    fx::EffectDescription effect;
    try {
        effect = fx::ParseEffect(sourceName, *text, include);
    } catch (const fx::EffectError& e) {
        fx::EffectError shown = e;
        shown.file = DisplayName(e.file, sourceName, source, includes);
        throw InputError{shown.Message()};
    }
    std::vector<std::string> files;
    for (const std::string& file : effect.files)
        files.push_back(DisplayName(file, sourceName, source, includes));
    ValidateGlsl(effect, files);
    WriteWholeFile(output, fx::SaveCompiledEffect(effect));
}

} // namespace

int main(int argc, char** argv)
{
    return RunTool(Tool, argc, argv, [](const std::vector<std::string>& args) {
        const CommandLine line(args, {"-o", "-I"}, {});
        const std::filesystem::path source = line.Operands(1, "one effect source")[0];
        const std::filesystem::path includes = line.Has("-I") ? std::filesystem::path(line.Value("-I")) : source.parent_path();
        Compile(source, includes, line.Value("-o"));
    });
}
