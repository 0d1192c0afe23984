// An OpenGL context on an SDL window, set up the way the whole backend assumes: GL 3.3 core or
// later, clip control with the upper-left origin and a [0, 1] depth range (so that memory row 0
// of every GL image is Direct3D's top row and projections keep Direct3D's depth), and tightly
// packed pixel transfers.
#pragma once

#include <cstdint>
#include <memory>

struct SDL_Window;

class GLContext {
public:
    // Null when the window cannot have such a context (no GL 3.3 core, no clip control). The new
    // context is current.
    static std::unique_ptr<GLContext> Create(SDL_Window* window);
    ~GLContext();
    GLContext(const GLContext&) = delete;
    GLContext& operator=(const GLContext&) = delete;

    SDL_Window* Window() const { return window_; }
    void MakeCurrent() const;
    // Whether the context reports that the GPU reset it (only where robustness was granted).
    bool WasReset() const;

private:
    GLContext(SDL_Window* window, void* context, bool robust);

    SDL_Window* window_;
    uint32_t windowId_;
    void* context_;
    bool robust_;
};
