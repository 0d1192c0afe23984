#include "Platform/Gfx/GL/detail/GLCopyProgram.h"

#include <stdexcept>
#include <string>

namespace {

// A quad over the whole viewport from gl_VertexID; clip y = +1 is the viewport's top row, texture
// row 0 the image's top row.
constexpr const char* kVertexSource = R"(#version 330 core
uniform vec4 sourceRect; // left, top, right, bottom as fractions of the image
out vec2 uv;
void main()
{
    vec2 corner = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1));
    uv = vec2(mix(sourceRect.x, sourceRect.z, corner.x), mix(sourceRect.w, sourceRect.y, corner.y));
    gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
)";

constexpr const char* kFragmentSource = R"(#version 330 core
uniform sampler2D image;
uniform float level;
in vec2 uv;
out vec4 colour;
void main()
{
    colour = textureLod(image, uv, level);
}
)";

GLuint Compile(GLenum stage, const char* source)
{
    const GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        char log[1024] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        glDeleteShader(shader);
        throw std::runtime_error(std::string("[GLCopyProgram]: the copy shader does not compile: ") + log);
    }
    return shader;
}

GLuint Sampler(GLenum filter)
{
    GLuint sampler = 0;
    glGenSamplers(1, &sampler);
    // The mipmap filters pick exactly the level asked for.
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER,
                        filter == GL_LINEAR ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST);
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(filter));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return sampler;
}

} // namespace

GLCopyProgram::GLCopyProgram()
{
    const GLuint vertex = Compile(GL_VERTEX_SHADER, kVertexSource);
    const GLuint fragment = Compile(GL_FRAGMENT_SHADER, kFragmentSource);
    program_ = glCreateProgram();
    glAttachShader(program_, vertex);
    glAttachShader(program_, fragment);
    glLinkProgram(program_);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    sourceRect_ = glGetUniformLocation(program_, "sourceRect");
    level_ = glGetUniformLocation(program_, "level");
    image_ = glGetUniformLocation(program_, "image");
    glGenVertexArrays(1, &vertexArray_);
    pointSampler_ = Sampler(GL_NEAREST);
    linearSampler_ = Sampler(GL_LINEAR);
}

GLCopyProgram::~GLCopyProgram()
{
    glDeleteProgram(program_);
    glDeleteVertexArrays(1, &vertexArray_);
    glDeleteSamplers(1, &pointSampler_);
    glDeleteSamplers(1, &linearSampler_);
}

void GLCopyProgram::Copy(GLuint texture, GLint level, UINT textureWidth, UINT textureHeight, const RECT& source,
                         const RECT& dest, bool linear, GLenum unit)
{
    glUseProgram(program_);
    const auto width = static_cast<float>(textureWidth);
    const auto height = static_cast<float>(textureHeight);
    glUniform4f(sourceRect_, static_cast<float>(source.left) / width, static_cast<float>(source.top) / height,
                static_cast<float>(source.right) / width, static_cast<float>(source.bottom) / height);
    glUniform1f(level_, static_cast<float>(level));
    glUniform1i(image_, static_cast<GLint>(unit - GL_TEXTURE0));
    glActiveTexture(unit);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBindSampler(unit - GL_TEXTURE0, linear ? linearSampler_ : pointSampler_);
    glViewport(dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top);
    glDepthRange(0.0, 1.0);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glBindVertexArray(vertexArray_);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glBindSampler(unit - GL_TEXTURE0, 0);
}
