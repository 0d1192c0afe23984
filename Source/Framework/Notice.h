// Faults the show survives are told to whoever watches it, as a caption and a text (a missing
// animation curve reads 0 and the show goes on). Device-free code cannot show a message box: the
// framework routes notices to its message boxes while it exists; without it (the tools, the core's
// own tests) they go to standard error.
#pragma once

#include <functional>
#include <string>

using NoticeReporter = std::function<void(const std::string& caption, const std::string& text)>;

void ReportNotice(const std::string& caption, const std::string& text);

// Replaces where notices go; an empty function restores standard error.
void SetNoticeReporter(NoticeReporter reporter);
