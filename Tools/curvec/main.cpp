// curvec: compiles the readable form of an animation curve into the curve file the show loads,
// and back.
#include "CurveText.h"
#include "TextCompilerMain.h"

namespace {

const ToolInfo Tool{"curvec", R"(Usage: curvec IN.txt -o OUT
       curvec --decompile IN -o OUT.txt

Compiles an animation curve from its text form into the binary curve file (16 bytes a key), or
back with --decompile.

Text form: one key a line, "time value inSlope outSlope", fields separated by blanks.
  time           seconds; every key's time must be greater than the previous key's
  value          the curve's value at that time
  inSlope        value per second with which the curve arrives at this key
  outSlope       value per second with which the curve leaves this key
"#" starts a comment that runs to the end of the line; blank lines are allowed. A curve holds at
least one key.

Options:
  -o FILE        where to write the result (required)
  --decompile    read a binary curve file and write its text form
  --help         show this help

Exit status: 0 on success, 1 when an input cannot be read or holds a fault (the message names the
file and line), 2 on a usage error.
)"};

} // namespace

int main(int argc, char** argv)
{
    return RunTextCompiler(Tool, argc, argv,
                           {[](const std::string& input) { return EncodeCurveKeys(ReadCurveText(input)); },
                            [](const std::string& input, const std::vector<unsigned char>& bytes) {
                                return FormatCurveText(DecodeCurveFile(input, bytes));
                            }});
}
