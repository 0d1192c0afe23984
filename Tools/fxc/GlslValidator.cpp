#include "GlslValidator.h"

#include "Subprocess.h"
#include "ToolMain.h"

#include "Platform/Fx/GlslLog.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string_view>
#include <utility>

namespace {

// A folder of its own under the system's temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "fxc.XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw InputError{"cannot create a temporary folder for glslangValidator"};
        path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored; // a leftover temporary file is no reason to fail a build
        std::filesystem::remove_all(path, ignored);
    }
    const std::filesystem::path& Path() const { return path; }

private:
    std::filesystem::path path;
};

std::string WriteStage(const ScratchFolder& folder, size_t index, const fx::ShaderBlock& block)
{
    // The validator tells the stage by the extension.
    const char* extension = block.stage == fx::ShaderStage::Vertex ? ".vert" : ".frag";
    const std::string path = (folder.Path() / (std::to_string(index) + extension)).string();
    std::ofstream out(path, std::ios::binary);
    out << block.source;
    out.close();
    if (!out)
        throw InputError{"cannot write " + path + " for glslangValidator"};
    return path;
}

// The validator's lines that say something: not the names of the files it was given, not its
// "compilation terminated" after each error, and each only once (a common block's fault shows in
// every block that holds it).
std::vector<fx::GlslMessage> Messages(const std::vector<std::string>& files, const std::string& output,
                                      const std::set<std::string>& stagePaths)
{
    constexpr std::string_view Terminated = "'' : compilation terminated";
    std::vector<fx::GlslMessage> messages;
    std::set<std::string> seen;
    for (fx::GlslMessage& message : fx::LocateGlslLog(files, output)) {
        const bool noise = stagePaths.count(message.text) ||
                           (message.text.size() >= Terminated.size() &&
                            message.text.compare(message.text.size() - Terminated.size(), Terminated.size(), Terminated) == 0);
        if (!noise && seen.insert(message.text).second)
            messages.push_back(std::move(message));
    }
    return messages;
}

std::string Join(const std::vector<fx::GlslMessage>& messages, bool locatedOnly)
{
    std::string text;
    for (const fx::GlslMessage& message : messages)
        if (message.located || !locatedOnly)
            text += "\n" + message.text;
    return text;
}

const fx::ShaderBlock& Block(const fx::EffectDescription& effect, const std::string& name, size_t& index)
{
    for (index = 0; index < effect.shaders.size(); ++index)
        if (effect.shaders[index].name == name)
            break;
    return effect.shaders[index]; // the description was checked: the name exists
}

} // namespace

void ValidateGlsl(const fx::EffectDescription& effect, const std::vector<std::string>& files, const std::string& validator)
{
    if (effect.shaders.empty())
        return;
    const ScratchFolder folder;
    std::vector<std::string> paths;
    for (size_t i = 0; i < effect.shaders.size(); ++i)
        paths.push_back(WriteStage(folder, i, effect.shaders[i]));
    const std::set<std::string> stagePaths(paths.begin(), paths.end());

    std::vector<std::string> compile{validator};
    compile.insert(compile.end(), paths.begin(), paths.end());
    const ProcessResult compiled = RunProcess(compile);
    if (compiled.exitCode != 0) {
        const auto messages = Messages(files, compiled.output, stagePaths);
        const bool anyLocated = std::any_of(messages.begin(), messages.end(), [](const auto& m) { return m.located; });
        throw InputError{files[0] + ": the GLSL does not compile" + Join(messages, anyLocated)};
    }

    std::set<std::pair<size_t, size_t>> linked;
    for (const fx::Technique& technique : effect.techniques) {
        for (const fx::Pass& pass : technique.passes) {
            size_t vertex = 0;
            size_t fragment = 0;
            Block(effect, pass.vertexShader, vertex);
            Block(effect, pass.pixelShader, fragment);
            if (!linked.insert({vertex, fragment}).second)
                continue;
            const ProcessResult link = RunProcess({validator, "-l", paths[vertex], paths[fragment]});
            if (link.exitCode != 0)
                throw InputError{files[pass.where.file] + ":" + std::to_string(pass.where.line) + ": pass " + pass.name +
                                 " of technique " + technique.name + ": " + pass.vertexShader + " and " +
                                 pass.pixelShader + " do not link" + Join(Messages(files, link.output, stagePaths), false)};
        }
    }
}
