#include "GlslValidator.h"

#include "Subprocess.h"
#include "ToolMain.h"

#include "Platform/Fx/GlslLog.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
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

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The validator's lines that say nothing of the fault: the name of the file it was given, its
// "compilation terminated" after an error and its count of errors.
bool IsNoise(const fx::GlslMessage& message, const std::set<std::string>& paths)
{
    return paths.count(message.text) || EndsWith(message.text, "'' : compilation terminated") ||
           EndsWith(message.text, "compilation errors.  No code generated.");
}

} // namespace

void ValidateGlsl(const fx::EffectDescription& effect, const std::vector<std::string>& files, const std::string& validator)
{
    const ScratchFolder folder;
    std::vector<std::string> paths;
    for (size_t i = 0; i < effect.shaders.size(); ++i)
        paths.push_back(WriteStage(folder, i, effect.shaders[i]));
    const std::set<std::string> pathSet(paths.begin(), paths.end());

    // One run per block, so that each log is read through its own block's line table. A fault in
    // a common block shows in every block that holds it, and is reported once.
    std::vector<std::string> faults;
    for (size_t i = 0; i < effect.shaders.size(); ++i) {
        const ProcessResult compiled = RunProcess({validator, paths[i]});
        if (compiled.exitCode == 0)
            continue;
        const auto messages = fx::LocateGlslLog(files, effect.shaders[i], compiled.output);
        const bool anyLocated = std::any_of(messages.begin(), messages.end(), [](const auto& m) { return m.located; });
        for (const fx::GlslMessage& message : messages)
            if ((message.located || !anyLocated) && !IsNoise(message, pathSet) &&
                std::find(faults.begin(), faults.end(), message.text) == faults.end())
                faults.push_back(message.text);
    }
    if (!faults.empty()) {
        std::string text = files[0] + ": the GLSL does not compile";
        for (const std::string& fault : faults)
            text += "\n" + fault;
        throw InputError{text};
    }

    std::set<std::pair<std::string, std::string>> linked;
    for (const fx::Technique& technique : effect.techniques) {
        for (const fx::Pass& pass : technique.passes) {
            if (!linked.insert({pass.vertexShader, pass.pixelShader}).second)
                continue;
            const auto index = [&](const std::string& name) {
                return static_cast<size_t>(std::find_if(effect.shaders.begin(), effect.shaders.end(),
                                                        [&](const fx::ShaderBlock& b) { return b.name == name; }) -
                                           effect.shaders.begin());
            };
            const ProcessResult link = RunProcess({validator, "-l", paths[index(pass.vertexShader)], paths[index(pass.pixelShader)]});
            if (link.exitCode == 0)
                continue;
            std::string text = files[pass.where.file] + ":" + std::to_string(pass.where.line) + ": pass " + pass.name +
                               " of technique " + technique.name + ": " + pass.vertexShader + " and " + pass.pixelShader +
                               " do not link";
            // Linker messages name no line, so they are passed on as they are.
            std::istringstream lines(link.output);
            for (std::string line; std::getline(lines, line);)
                if (line.find_first_not_of(" \t\r") != std::string::npos && !pathSet.count(line))
                    text += "\n" + line;
            throw InputError{text};
        }
    }
}
