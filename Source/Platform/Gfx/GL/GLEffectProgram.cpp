#include "Platform/Gfx/GL/GLEffectProgram.h"

#include "Platform/Fx/GlslLog.h"

#include <algorithm>

namespace fx {

namespace {

// A shader's or a program's info log, through the two getters of its kind.
std::string InfoLog(GLuint name, PFNGLGETSHADERIVPROC getParameter, PFNGLGETSHADERINFOLOGPROC getLog)
{
    GLint length = 0;
    getParameter(name, GL_INFO_LOG_LENGTH, &length);
    std::string log(std::max(length, 1), '\0');
    getLog(name, length, nullptr, log.data());
    log.resize(std::min(log.find('\0'), log.size()));
    return log;
}

std::string Where(const EffectDescription& description, SourceLocation where)
{
    const std::string file = where.file < description.files.size() ? description.files[where.file] : "effect";
    return file + ":" + std::to_string(where.line);
}

// The highest index of gl_ClipDistance[i] that the source names, plus one; 0 for none.
uint32_t ClipDistancesNamed(const std::string& source)
{
    static const std::string array = "gl_ClipDistance[";
    uint32_t count = 0;
    for (size_t at = source.find(array); at != std::string::npos; at = source.find(array, at + 1)) {
        size_t digit = at + array.size();
        uint32_t index = 0;
        bool any = false;
        for (; digit < source.size() && source[digit] >= '0' && source[digit] <= '9' && index < 1000; ++digit) {
            index = index * 10 + static_cast<uint32_t>(source[digit] - '0');
            any = true;
        }
        if (any)
            count = std::max(count, index + 1);
    }
    return count;
}

} // namespace

GLShaderBlocks::~GLShaderBlocks()
{
    for (const auto& [name, shader] : shaders_)
        glDeleteShader(shader);
}

GLuint GLShaderBlocks::Shader(const std::string& blockName, std::string& messages)
{
    if (const auto found = shaders_.find(blockName); found != shaders_.end())
        return found->second;
    const auto& blocks = description_.shaders;
    const auto block = std::find_if(blocks.begin(), blocks.end(),
                                    [&](const ShaderBlock& candidate) { return candidate.name == blockName; });
    if (block == blocks.end()) {
        messages += "effect: no glsl block " + blockName + "\n";
        return 0;
    }
    const GLuint shader = glCreateShader(block->stage == ShaderStage::Vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
    const char* source = block->source.c_str();
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        for (const GlslMessage& message : LocateGlslLog(description_.files, *block, InfoLog(shader, glGetShaderiv, glGetShaderInfoLog)))
            messages += message.text + "\n";
        glDeleteShader(shader);
        return 0;
    }
    shaders_.emplace(blockName, shader);
    return shader;
}

std::unique_ptr<GLEffectProgram> GLEffectProgram::Build(const EffectDescription& description,
                                                        const Technique& technique, const Pass& pass,
                                                        GLShaderBlocks& blocks, std::string& messages)
{
    const GLuint vertex = blocks.Shader(pass.vertexShader, messages);
    const GLuint fragment = blocks.Shader(pass.pixelShader, messages);
    if (!vertex || !fragment)
        return nullptr;
    const GLuint name = glCreateProgram();
    std::unique_ptr<GLEffectProgram> program(new GLEffectProgram(name));
    glAttachShader(name, vertex);
    glAttachShader(name, fragment);
    glLinkProgram(name);
    glDetachShader(name, vertex);
    glDetachShader(name, fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(name, GL_LINK_STATUS, &linked);
    if (!linked) {
        messages += Where(description, pass.where) + ": technique " + technique.name + ", pass " + pass.name +
                    ": the blocks " + pass.vertexShader + " and " + pass.pixelShader + " do not link: " +
                    InfoLog(name, glGetProgramiv, glGetProgramInfoLog) + "\n";
        return nullptr;
    }
    program->FindUniforms(description);
    const auto& shaders = description.shaders;
    const auto vertexBlock = std::find_if(shaders.begin(), shaders.end(),
                                          [&](const ShaderBlock& block) { return block.name == pass.vertexShader; });
    if (vertexBlock != shaders.end())
        program->clipDistances_ = ClipDistancesNamed(vertexBlock->source);
    return program;
}

GLEffectProgram::~GLEffectProgram()
{
    glDeleteProgram(name_);
}

void GLEffectProgram::FindUniforms(const EffectDescription& description)
{
    for (const Parameter& parameter : description.parameters)
        locations_.push_back(IsTexture(parameter.kind) ? -1 : glGetUniformLocation(name_, parameter.name.c_str()));
    uploaded_.assign(description.parameters.size(), 0);
    // Samplers keep their units for the program's life; setting them needs the program current.
    GLint previous = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
    glUseProgram(name_);
    for (size_t unit = 0; unit < description.samplers.size(); ++unit) {
        const GLint location = glGetUniformLocation(name_, description.samplers[unit].name.c_str());
        if (location >= 0)
            glUniform1i(location, static_cast<GLint>(unit));
    }
    glUseProgram(static_cast<GLuint>(previous));
}

void GLEffectProgram::Upload(const EffectDescription& description,
                             std::span<const std::shared_ptr<ParameterValue>> values)
{
    for (size_t i = 0; i < locations_.size(); ++i) {
        const ParameterValue& value = *values[i];
        if (locations_[i] < 0 || uploaded_[i] == value.version)
            continue;
        uploaded_[i] = value.version;
        const Parameter& parameter = description.parameters[i];
        const GLint location = locations_[i];
        const auto count = static_cast<GLsizei>(std::max<uint32_t>(parameter.elements, 1));
        const float* data = value.floats.data();
        switch (parameter.kind) {
        case ParameterKind::Float: glUniform1fv(location, count, data); break;
        case ParameterKind::Float2: glUniform2fv(location, count, data); break;
        case ParameterKind::Float3: glUniform3fv(location, count, data); break;
        case ParameterKind::Float4: glUniform4fv(location, count, data); break;
        // Row by row, transposed once here, so that GLSL sees the engine's row-vector matrix.
        case ParameterKind::Float4x4: glUniformMatrix4fv(location, count, GL_TRUE, data); break;
        default: break;
        }
    }
}

} // namespace fx
