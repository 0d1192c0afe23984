// The player's offline mode as a program: parses the words, renders, reports on standard error.
// Exit status: 0 done, 1 a failure of the show or the output, 2 a command line it cannot run,
// 130 interrupted by Ctrl+C (a video is finished with what was made).
#pragma once

#include <string>
#include <vector>

int CaptureMain(const std::vector<std::string>& words);
