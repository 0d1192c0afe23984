// Modal message boxes with an OK button and no owner window. Where no display can show one, the
// caption and text go to standard error and the call returns, so a headless run never hangs.
#pragma once

#include <functional>
#include <string>

void ShowMessageBox(const std::string& caption, const std::string& text);

// Replaces how boxes are shown (the window layer installs a real one; tests capture them).
// Passing an empty function restores the standard presenter.
using MessageBoxPresenter = std::function<void(const std::string& caption, const std::string& text)>;
void SetMessageBoxPresenter(MessageBoxPresenter presenter);
