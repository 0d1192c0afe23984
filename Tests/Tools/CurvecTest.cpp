#include "Support/ArchiveFixture.h"
#include "Tools/ToolRun.h"

#include "Framework/Scene/CurveFile.h"

namespace {

class CurvecTest : public ArchiveFixture {};

const std::string CanonicalCurve = "-1.5 0.1 0 0\n"
                                   "0 -4 0.33333334 1e-45\n"
                                   "7.5 3.4028235e+38 -0 -2\n";

TEST_F(CurvecTest, TextRoundTripsExactlyThroughTheCurveFile)
{
    WriteText("Camera1.translateX.txt", CanonicalCurve);
    ASSERT_EQ(Invoke(QL_CURVEC, {"Camera1.translateX.txt", "-o", "Camera1.translateX"}).exitCode, 0);

    const auto bytes = ReadWholeFile("Camera1.translateX");
    ASSERT_EQ(bytes.size(), 3 * CurveKeySize);
    const auto keys = DecodeCurveKeys(bytes.data(), bytes.size());
    EXPECT_EQ(keys[1].time, 0.0f);
    EXPECT_EQ(keys[1].value, -4.0f);
    EXPECT_EQ(keys[1].inSlope, 0.33333334f);
    EXPECT_EQ(keys[1].outSlope, 1e-45f);
    EXPECT_EQ(keys[2].outSlope, -2.0f);

    ASSERT_EQ(Invoke(QL_CURVEC, {"--decompile", "Camera1.translateX", "-o", "out.txt"}).exitCode, 0);
    EXPECT_EQ(ReadText("out.txt"), CanonicalCurve);
}

TEST_F(CurvecTest, FaultsNameTheFileAndLine)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0 0 0 0\n# same time\n0 1 0 0\n", "bad.txt:3: time 0 does not come after the time 0 of the previous key (line 1)"},
        {"2 0 0 0\n1 1 0 0\n", "bad.txt:2: time 1 does not come after the time 2"},
        {"0 0 0\n", "bad.txt:1: expected 4 fields (time value inSlope outSlope), found 3"},
        {"0 0 0 slope\n", "bad.txt:1: bad outSlope 'slope': expected a number"},
        {"inf 0 0 0\n", "bad.txt:1: bad time 'inf'"},
        {"# nothing\n\n", "bad.txt: no keys"},
    };
    for (const auto& [text, message] : cases) {
        WriteText("bad.txt", text);
        const ToolRun run = Invoke(QL_CURVEC, {"bad.txt", "-o", "bad.curve"});
        EXPECT_EQ(run.exitCode, 1) << text;
        EXPECT_EQ(run.err.rfind("curvec: " + message, 0), 0u) << run.err;
    }
}

TEST_F(CurvecTest, DecompileRefusesFilesTheTextCannotHold)
{
    auto partial = EncodeCurveKeys({{0, 0, 0, 0}, {1, 1, 0, 0}});
    partial.resize(40);
    const std::vector<std::pair<std::vector<unsigned char>, std::string>> cases = {
        {partial, "40 bytes, not a whole number of 16-byte keys"},
        {{}, "no keys"},
        {EncodeCurveKeys({{1, 0, 0, 0}, {0.5f, 1, 0, 0}}), "key 1 at time 0.5 does not come after the time of key 0"},
    };
    for (const auto& [bytes, fault] : cases) {
        WriteWholeFile("bad.curve", bytes);
        const ToolRun run = Invoke(QL_CURVEC, {"--decompile", "bad.curve", "-o", "bad.txt"});
        EXPECT_EQ(run.exitCode, 1) << fault;
        EXPECT_EQ(run.err.rfind("curvec: bad.curve: " + fault, 0), 0u) << run.err;
    }
}

TEST_F(CurvecTest, UsageErrorsExitWithTwo)
{
    WriteText("in.txt", "0 0 0 0\n");
    EXPECT_EQ(Invoke(QL_CURVEC, {"in.txt"}).exitCode, 2);
    EXPECT_EQ(Invoke(QL_CURVEC, {"in.txt", "-o"}).exitCode, 2);
    EXPECT_EQ(Invoke(QL_CURVEC, {"--decompile", "--decompile", "in.txt", "-o", "x"}).exitCode, 2);
    EXPECT_EQ(Invoke(QL_CURVEC, {"--help"}).exitCode, 0);
}

} // namespace
