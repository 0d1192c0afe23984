// One pass of an effect as a GL program: its vertex and fragment blocks compiled and linked, each
// sampler uniform set to its unit (sampler i of the effect uses unit i), the location of every
// float parameter, and the version of each value the program last received.
#pragma once

#include "Platform/Fx/EffectDescription.h"
#include "Platform/Fx/ParameterValue.h"

#include <epoxy/gl.h>

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace fx {

// The compiled shader blocks of one effect, each compiled once however many passes use it.
class GLShaderBlocks {
public:
    explicit GLShaderBlocks(const EffectDescription& description) : description_(description) {}
    ~GLShaderBlocks();
    GLShaderBlocks(const GLShaderBlocks&) = delete;
    GLShaderBlocks& operator=(const GLShaderBlocks&) = delete;

    // 0 with the compiler's log, pointed at the effect's files, added to messages.
    GLuint Shader(const std::string& block, std::string& messages);

private:
    const EffectDescription& description_;
    std::map<std::string, GLuint> shaders_;
};

class GLEffectProgram {
public:
    // Null with messages naming the pass when a block does not compile or the program does not link.
    static std::unique_ptr<GLEffectProgram> Build(const EffectDescription& description, const Technique& technique,
                                                  const Pass& pass, GLShaderBlocks& blocks, std::string& messages);
    ~GLEffectProgram();
    GLEffectProgram(const GLEffectProgram&) = delete;
    GLEffectProgram& operator=(const GLEffectProgram&) = delete;

    GLuint Name() const { return name_; }
    // How many of gl_ClipDistance the vertex block writes (the highest index it names, plus one):
    // the driver enables those planes while the pass draws.
    uint32_t ClipDistances() const { return clipDistances_; }
    // Forgets the program without deleting it: its context is gone, and its name may by now
    // belong to an object of another context.
    void Abandon() { name_ = 0; }
    // Uploads the float values that changed since this program last received them; the program
    // must be current.
    void Upload(const EffectDescription& description, std::span<const std::shared_ptr<ParameterValue>> values);

private:
    explicit GLEffectProgram(GLuint name) : name_(name) {}
    void FindUniforms(const EffectDescription& description);

    GLuint name_;
    uint32_t clipDistances_ = 0;
    std::vector<GLint> locations_; // per parameter; -1 for textures and what the program does not use
    std::vector<uint64_t> uploaded_;
};

} // namespace fx
