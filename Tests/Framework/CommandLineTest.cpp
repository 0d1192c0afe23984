// The command line as one string and back, and the WxH sizes every command line takes.
#include "Framework/CommandLineQuoting.h"
#include "Framework/PixelSize.h"

#include <gtest/gtest.h>

using Arguments = std::vector<std::string>;

TEST(CommandLineTest, ArgumentsComeBackAsTheyWentInWhateverTheyHold)
{
    const Arguments arguments{"--size", "", "--seek", "5", "two words", "say \"hi\"", "C:\\dir\\", "a\\\\b\\\"c",
                              "\t", "--nosetup"};
    const std::string line = JoinArguments(arguments);
    EXPECT_EQ(line, R"(--size "" --seek 5 "two words" "say \"hi\"" C:\dir\ "a\\b\\\"c" "	" --nosetup)");
    EXPECT_EQ(SplitArguments(line), arguments);

    // Lines written by hand, the Windows way: quotes inside a word, backslashes literal unless a
    // quote follows, runs of blanks, an unclosed quote running to the end.
    EXPECT_EQ(SplitArguments(R"(  a"b c"d   \\\\ e\\"f g h)"), (Arguments{"ab cd", "\\\\\\\\", "e\\f g h"}));
    EXPECT_EQ(SplitArguments(R"("" x "")"), (Arguments{"", "x", ""}));
    EXPECT_EQ(SplitArguments(" \t "), Arguments{});
}

TEST(PixelSizeTest, TakesWholeSidesWithinTheLimitsAndRefusesAnythingElse)
{
    const PixelSizeLimits limits{.widest = 7680, .tallest = 4320};
    const PixelSize size = ParsePixelSize("1920x1080", limits);
    EXPECT_EQ(size.width, 1920u);
    EXPECT_EQ(size.height, 1080u);
    EXPECT_EQ(ParsePixelSize("16X4320", limits).height, 4320u);
    EXPECT_EQ(ParsePixelSize("7680x16", limits).width, 7680u);

    for (const std::string bad : {"", "x", "1920", "1920x", "x1080", "15x16", "16x15", "7681x16", "16x4321",
                                  "+16x16", " 16x16", "16x16 ", "-16x16", "16x16x16", "1e3x16", "4294967312x16",
                                  "16.0x16"}) {
        try {
            ParsePixelSize(bad, limits);
            ADD_FAILURE() << "accepted \"" << bad << "\"";
        } catch (const PixelSizeError& e) {
            EXPECT_STREQ(e.what(), "expected WxH from 16x16 to 7680x4320") << bad;
        }
    }
}
