#include "Platform/Window/MessageBox.h"

#include <cstdio>

namespace {

void PrintToStandardError(const std::string& caption, const std::string& text)
{
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

MessageBoxPresenter& Presenter()
{
    static MessageBoxPresenter presenter = PrintToStandardError;
    return presenter;
}

} // namespace

void ShowMessageBox(const std::string& caption, const std::string& text)
{
    Presenter()(caption, text);
}

void SetMessageBoxPresenter(MessageBoxPresenter presenter)
{
    Presenter() = presenter ? std::move(presenter) : MessageBoxPresenter(PrintToStandardError);
}
