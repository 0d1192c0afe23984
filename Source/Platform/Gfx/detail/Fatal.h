// Ends the process with a message for a misuse that would otherwise corrupt memory, such as
// releasing an object more often than it was referenced.
#pragma once

[[noreturn]] void GfxFatal(const char* where, const char* what);
