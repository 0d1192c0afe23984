#include "Platform/Window/MessageBox.h"

#include "Platform/Window/detail/PlatformWindow.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstring>

namespace {

void PrintToStandardError(const std::string& caption, const std::string& text)
{
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

// A modal SDL box where a display can show one; standard error elsewhere, including SDL's
// headless video drivers, where a box would wait for a click that never comes.
void ShowOnDisplay(const std::string& caption, const std::string& text)
{
    const char* driver = EnsureVideo() ? SDL_GetCurrentVideoDriver() : nullptr;
    const bool headless = !driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
    if (headless || SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption.c_str(), text.c_str(), nullptr) != 0)
        PrintToStandardError(caption, text);
}

MessageBoxPresenter& Presenter()
{
    static MessageBoxPresenter presenter = ShowOnDisplay;
    return presenter;
}

} // namespace

void ShowMessageBox(const std::string& caption, const std::string& text)
{
    Presenter()(caption, text);
}

void SetMessageBoxPresenter(MessageBoxPresenter presenter)
{
    Presenter() = presenter ? std::move(presenter) : MessageBoxPresenter(ShowOnDisplay);
}
