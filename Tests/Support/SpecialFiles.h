// Outputs that are not plain files: a device node that is always full and a pipe read while
// something writes into it.
#pragma once

#include <functional>
#include <string>

// A character device like /dev/full at path; false where this process may not make device nodes.
bool MakeFullDevice(const std::string& path);

// Makes a pipe at path, runs write (which may open and write it, or fail to) while the pipe is
// read, and returns what came through.
std::string ReadPipeWhile(const std::string& path, const std::function<void()>& write);
