// Writes the seed corpora of the fuzz targets into <folder>/<target>/ (the committed fuzz/corpus):
// small, valid inputs of every format plus the awkward cases the readers must survive, so that
// fuzzing starts from real structure instead of having to discover the formats.
//   make_fuzz_seeds fuzz/corpus
#include "Framework/FileSys/ArchiveWriter.h"
#include "Framework/FrameworkEx.h"
#include "Framework/Scene/CurveFile.h"
#include "sync/trackfile.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::filesystem::path root;

std::vector<unsigned char> Bytes(const std::string& text)
{
    return std::vector<unsigned char>(text.begin(), text.end());
}

void Seed(const std::string& target, const std::string& name, const std::vector<unsigned char>& bytes)
{
    std::filesystem::create_directories(root / target);
    WriteWholeFile((root / target / name).string(), bytes);
}

std::vector<TrackRecord> TwoKeys(int8_t kind)
{
    return {{0, 0.0f, kind}, {10, 1.0f, 0}};
}

void TrackSeeds()
{
    Seed("track", "linear", EncodeTrackRecords(TwoKeys(1)));
    Seed("track", "cosine", EncodeTrackRecords(TwoKeys(2)));
    Seed("track", "quadratic", EncodeTrackRecords(TwoKeys(3)));
    Seed("track", "step", EncodeTrackRecords({{0, 3.0f, 0}, {10, 4.0f, 1}, {100, 5.0f, 0}}));
    Seed("track", "repeated_row", EncodeTrackRecords({{7, 1.0f, 1}, {3, 0.0f, 1}, {7, 2.0f, 2}}));
    Seed("track", "unknown_kind", EncodeTrackRecords({{0, 1.0f, 5}, {4, 2.0f, -1}, {8, 3.0f, 1}}));
    Seed("track", "last_rows", EncodeTrackRecords({{4294967294u, 1.0f, 1}, {4294967295u, -1.0f, 2}, {0, 0.5f, 3}}));

    std::vector<unsigned char> overcounted = EncodeTrackRecords(TwoKeys(1));
    overcounted[0] = 200; // claims more records than the file holds
    overcounted.push_back(0x42);
    Seed("track", "overcounted", overcounted);

    std::vector<TrackRecord> playback;
    for (uint32_t row = 0; row < 2304; row += 32)
        playback.push_back({row, static_cast<float>(row % 96) / 96.0f, static_cast<int8_t>(row / 32 % 4)});
    Seed("track", "playback", EncodeTrackRecords(playback));
}

void CurveSeeds()
{
    Seed("curve", "smoothstep", EncodeCurveKeys({{0, 0, 0, 0}, {1, 1, 0, 0}}));
    Seed("curve", "identity_slopes", EncodeCurveKeys({{0, 0, 0, 1}, {1, 1, 1, 0}}));
    Seed("curve", "single_key", EncodeCurveKeys({{2, 5, 0, 0}}));
    Seed("curve", "three_keys", EncodeCurveKeys({{0, 0, 0, 1}, {1, 2, -1, 0.5f}, {2, -1, 0, 0}}));
    Seed("curve", "repeated_time", EncodeCurveKeys({{0, 0, 0, 0}, {1, 1, 0, 0}, {1, 3, 0, 0}, {4, 0, 0, 0}}));
    Seed("curve", "out_of_order", EncodeCurveKeys({{5, 1, 0, 0}, {1, 2, 0, 0}, {3, 0, 1, 1}}));

    std::vector<unsigned char> trailing = EncodeCurveKeys({{0, 0, 0, 0}, {1, 1, 0, 0}});
    trailing.insert(trailing.end(), 8, 0x7f); // 40 bytes: two keys and 8 ignored bytes
    Seed("curve", "trailing_bytes", trailing);
    Seed("curve", "short", Bytes("\x01\x02\x03\x04\x05\x06\x07"));

    std::vector<CurveKey> camera;
    for (int i = 0; i <= 135; i += 5)
        camera.push_back({static_cast<float>(i), static_cast<float>(i % 15) - 7.0f, 0.5f, -0.25f});
    Seed("curve", "camera_path", EncodeCurveKeys(camera));
}

const std::string ShowTimeline = "0 TindreVikIntro\n15 TindrevikPart1\n22.5 TindrevikPart2\n30 TindrevikPart3\n"
                                 "37.5 TindrevikScroller\n78.75 TindrevikInsideCube\n101.25 TindrevikPart4\n"
                                 "108.75 TindrevikPart5\n120 TindrevikEnd\n";

void TimelineSeeds()
{
    Seed("timeline", "show", Bytes(ShowTimeline));
    Seed("timeline", "reversed", Bytes("10 Q\n0 P\n"));
    Seed("timeline", "repeated_time", Bytes("0 P\n10 Q\n10 R\n"));
    Seed("timeline", "comments_and_blanks", Bytes("# scenes\n\n0 P trailing words\r\n\n\n  5.5\tQ\r\nQ 7\n"));
    Seed("timeline", "number_only_line", Bytes("3\nNext 9 Other\n-2.5e1 Early"));
    Seed("timeline", "odd_numbers", Bytes("0x1p4 Hex\ninf Never\nnan Never\n1e40 Never\n-0 Zero\n.5 Half\n"));
}

void ArchiveSeeds()
{
    ArchiveWriter show;
    show.Add("Data\\events\\Scenes.txt", Bytes(ShowTimeline));
    show.Add("Data\\sync_CamZOffset.track", EncodeTrackRecords(TwoKeys(2)));
    show.Add("Data\\anim\\Camera1.translateX", EncodeCurveKeys({{0, 0, 0, 1}, {1, 1, 1, 0}}));
    Seed("archive", "show", show.Build());

    ArchiveWriter awkward;
    awkward.Add("first", Bytes("served"));
    awkward.Add("first", Bytes("ignored"));
    awkward.Add("empty", {});
    std::vector<unsigned char> text;
    for (int i = 0; i < 4000; ++i)
        text.push_back(static_cast<unsigned char>("lantern "[i % 8] + (i % 37 == 0)));
    awkward.Add("Data\\repetitive.bin", text);
    Seed("archive", "awkward", awkward.Build());

    ArchiveWriter broken;
    // The zlib stream of the four bytes "test".
    const std::vector<unsigned char> test = {0x78, 0x9c, 0x2b, 0x49, 0x2d, 0x2e, 0x01, 0x00, 0x04, 0x5d, 0x01, 0xc1};
    broken.AddPacked("truncated", {test.begin(), test.begin() + 6}, 4);
    broken.AddPacked("claims_less", test, 2);
    broken.AddPacked("claims_more", test, 9);
    Seed("archive", "broken_streams", broken.Build());

    Seed("archive", "no_entries", Bytes("0x0000000b\n"));
    // Hand-written: short and upper-case hex fields, which the reader accepts as well.
    std::vector<unsigned char> handWritten = Bytes("0x18\nname\n18\n0000000C\n4\n");
    handWritten.insert(handWritten.end(), test.begin(), test.end());
    Seed("archive", "upper_case_hex", handWritten);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds <corpus folder>\n");
        return 2;
    }
    root = argv[1];
    try {
        TrackSeeds();
        CurveSeeds();
        TimelineSeeds();
        ArchiveSeeds();
    } catch (const FrameworkEx& e) {
        std::fprintf(stderr, "make_fuzz_seeds: %s\n", e.message.c_str());
        return 1;
    }
    return 0;
}
