// trackc: compiles the readable form of a sync track into the ".track" file the show loads, and
// back.
#include "TextCompilerMain.h"
#include "TrackText.h"

namespace {

const ToolInfo Tool{"trackc", R"(Usage: trackc IN.txt -o OUT.track
       trackc --decompile IN.track -o OUT.txt

Compiles a sync track from its text form into the binary ".track" file, or back with --decompile.

Text form: one key a line, "row value interpolation", fields separated by blanks.
  row            whole number, 0 to 4294967295, each row at most once
  value          number (a float)
  interpolation  step, linear, cosine or quadratic: how the value moves from this key to the next
"#" starts a comment that runs to the end of the line; blank lines are allowed.

Options:
  -o FILE        where to write the result (required)
  --decompile    read a ".track" file and write its text form
  --help         show this help

Exit status: 0 on success, 1 when an input cannot be read or holds a fault (the message names the
file and line), 2 on a usage error.
)"};

} // namespace

int main(int argc, char** argv)
{
    return RunTextCompiler(Tool, argc, argv,
                           {[](const std::string& input) { return EncodeTrackRecords(ReadTrackText(input)); },
                            [](const std::string& input, const std::vector<unsigned char>& bytes) {
                                return FormatTrackText(DecodeTrackFile(input, bytes));
                            }});
}
