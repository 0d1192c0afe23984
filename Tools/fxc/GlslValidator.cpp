#include "GlslValidator.h"

#include "ToolMain.h"

#include "Platform/Fx/GlslLog.h"

#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>

#include <algorithm>
#include <memory>
#include <set>
#include <sstream>
#include <string_view>
#include <utility>

namespace {

// glslang's process-wide tables, made once for every check of this run.
class GlslangProcess {
public:
    GlslangProcess() { glslang::InitializeProcess(); }
    ~GlslangProcess() { glslang::FinalizeProcess(); }
    GlslangProcess(const GlslangProcess&) = delete;
    GlslangProcess& operator=(const GlslangProcess&) = delete;
};

// What a shader without a #version is read as, and the messages asked for: glslangValidator's own
// defaults for GLSL, so that an effect passes or fails here as it did there.
constexpr int DefaultVersion = 100;
constexpr EShMessages Messages = EShMsgDefault;

struct Checked {
    bool ok = false;
    std::string log;
};

// Parsed shaders outlive the program that links them, so both are kept together.
struct Program {
    std::vector<std::unique_ptr<glslang::TShader>> shaders;
    glslang::TProgram program;
};

// Parses block into program; the parse's log when it fails.
Checked Parse(const fx::ShaderBlock& block, Program& into)
{
    const EShLanguage stage = block.stage == fx::ShaderStage::Vertex ? EShLangVertex : EShLangFragment;
    auto shader = std::make_unique<glslang::TShader>(stage);
    const char* text = block.source.c_str();
    shader->setStrings(&text, 1);
    const bool ok = shader->parse(GetDefaultResources(), DefaultVersion, false, Messages);
    Checked checked{ok, std::string(shader->getInfoLog()) + shader->getInfoDebugLog()};
    into.program.addShader(shader.get());
    into.shaders.push_back(std::move(shader));
    return checked;
}

// The blocks compiled and linked as one program (a lone block is linked too, which finds a
// missing main).
Checked CompileAndLink(const std::vector<const fx::ShaderBlock*>& blocks)
{
    Program program;
    for (const fx::ShaderBlock* block : blocks)
        if (Checked parsed = Parse(*block, program); !parsed.ok)
            return parsed;
    const bool linked = program.program.link(Messages);
    return {linked, std::string(program.program.getInfoLog()) + program.program.getInfoDebugLog()};
}

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The log's lines that say nothing of the fault: "compilation terminated" after an error and the
// count of errors.
bool IsNoise(const fx::GlslMessage& message)
{
    return message.text.empty() || EndsWith(message.text, "'' : compilation terminated") ||
           EndsWith(message.text, "compilation errors.  No code generated.");
}

const fx::ShaderBlock& BlockNamed(const fx::EffectDescription& effect, const std::string& name)
{
    const auto found = std::find_if(effect.shaders.begin(), effect.shaders.end(),
                                    [&](const fx::ShaderBlock& block) { return block.name == name; });
    if (found == effect.shaders.end())
        throw InputError{"no glsl block named " + name};
    return *found;
}

} // namespace

void ValidateGlsl(const fx::EffectDescription& effect, const std::vector<std::string>& files)
{
    const GlslangProcess glslang;

    // Each log is read through its own block's line table. A fault in a common block shows in
    // every block that holds it, and is reported once.
    std::vector<std::string> faults;
    for (const fx::ShaderBlock& block : effect.shaders) {
        const Checked compiled = CompileAndLink({&block});
        if (compiled.ok)
            continue;
        const auto messages = fx::LocateGlslLog(files, block, compiled.log);
        const bool anyLocated = std::any_of(messages.begin(), messages.end(), [](const auto& m) { return m.located; });
        for (const fx::GlslMessage& message : messages)
            if ((message.located || !anyLocated) && !IsNoise(message) &&
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
            const Checked link = CompileAndLink({&BlockNamed(effect, pass.vertexShader), &BlockNamed(effect, pass.pixelShader)});
            if (link.ok)
                continue;
            std::string text = files[pass.where.file] + ":" + std::to_string(pass.where.line) + ": pass " + pass.name +
                               " of technique " + technique.name + ": " + pass.vertexShader + " and " + pass.pixelShader +
                               " do not link";
            // Linker messages name no line, so they are passed on as they are.
            std::istringstream lines(link.log);
            for (std::string line; std::getline(lines, line);)
                if (line.find_first_not_of(" \t\r") != std::string::npos)
                    text += "\n" + line;
            throw InputError{text};
        }
    }
}
