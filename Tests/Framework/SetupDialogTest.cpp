#include "Framework/FrameworkEx.h"
#include "Framework/SetupDialog/SetupDialog.h"
#include "Framework/SetupDialog/SetupDialogTemplate.h"
#include "Platform/Gfx/Recorder/CreateRecorderDirect3D.h"
#include "Platform/Window/MessagePump.h"
#include "Support/FakeDialogControls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class SetupDialogTest : public ::testing::Test {
protected:
    SetupDialogTest()
    {
        recorder->Config().modes = {
            {640, 480, 60, D3DFMT_X8R8G8B8},   {799, 600, 60, D3DFMT_X8R8G8B8},   {800, 599, 60, D3DFMT_X8R8G8B8},
            {800, 600, 60, D3DFMT_X8R8G8B8},   {1024, 768, 75, D3DFMT_X8R8G8B8},  {1024, 768, 60, D3DFMT_R5G6B5},
            {1280, 720, 60, D3DFMT_X8R8G8B8},  {1920, 1080, 50, D3DFMT_X8R8G8B8}, {1920, 1080, 60, D3DFMT_X8R8G8B8},
            {1280, 1024, 60, D3DFMT_X8R8G8B8}, {1366, 768, 60, D3DFMT_X8R8G8B8},
        };
    }
    ~SetupDialogTest() override
    {
        direct3D->Release();
        MSG message;
        while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    BOOL Send(UINT message, WPARAM wParam = 0)
    {
        return setup->SetupDialogProc(dialog, message, wParam, 0);
    }
    void Init(ScreenSize screen = {1920, 1080})
    {
        setup.emplace(*direct3D, settings, screen);
        EXPECT_EQ(Send(WM_INITDIALOG), 1);
    }
    void Pick(int id, const std::string& text)
    {
        const Strings items = dialog.Items(id);
        const auto found = std::find(items.begin(), items.end(), text);
        ASSERT_NE(found, items.end()) << text;
        dialog.SelectItem(id, int(found - items.begin()));
    }
    std::optional<std::string> FailureOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const FrameworkEx& failure) {
            return failure.message;
        }
        return std::nullopt;
    }

    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    IDirect3D9* direct3D = CreateRecorderDirect3D(recorder);
    DisplaySettings settings;
    FakeDialogControls dialog{SetupDialogTemplate()};
    std::optional<SetupDialog> setup;
};

} // namespace

TEST_F(SetupDialogTest, ListsModesFromEightHundredBySixHundredWithTheirAspectPairs)
{
    Init();
    const Strings expected{
        "800 x 600 @ 60hz (4:3)",      "1024 x 768 @ 75hz (4:3)",     "1280 x 720 @ 60hz (16:9)",
        "1920 x 1080 @ 50hz (16:9)",   "1920 x 1080 @ 60hz (16:9)",   "1280 x 1024 @ 60hz (5:4)",
        "1366 x 768 @ 60hz (1:1)",
    };
    EXPECT_EQ(dialog.Items(IDC_RESOLUTION), expected);
    EXPECT_EQ(recorder->Call<Op::EnumAdapterModes>(0).Format, D3DFMT_X8R8G8B8);
}

TEST_F(SetupDialogTest, PreselectsTheLastModeOfTheDesktopSizeAndDetectsItsShape)
{
    Init({1920, 1080});
    EXPECT_EQ(dialog.SelectedText(IDC_RESOLUTION), "1920 x 1080 @ 60hz (16:9)");
    const Strings monitors{"5:4", "4:3", "16:10", "15:9", "16:9 (Detected)"};
    EXPECT_EQ(dialog.Items(IDC_MONITOR), monitors);
    EXPECT_EQ(dialog.SelectedIndex(IDC_MONITOR), 4);
    EXPECT_EQ(dialog.SelectedText(IDC_MULTISAMPLE), "No multisampling");
    EXPECT_TRUE(dialog.IsChecked(IDC_FULLSCREEN));
    EXPECT_TRUE(dialog.IsChecked(IDC_VSYNC));
    EXPECT_FLOAT_EQ(settings.monitorAspect, 16.0f / 9.0f);
}

TEST_F(SetupDialogTest, WithoutAMatchingDesktopTheFirstItemsAreSelected)
{
    Init({1000, 1000});
    EXPECT_EQ(dialog.SelectedIndex(IDC_RESOLUTION), 0);
    EXPECT_EQ(dialog.SelectedIndex(IDC_MONITOR), 0);
    for (const std::string& monitor : dialog.Items(IDC_MONITOR))
        EXPECT_EQ(monitor.find("Detected"), std::string::npos) << monitor;

    // A 1280 x 1024 desktop is 5:4, the first entry.
    dialog = FakeDialogControls(SetupDialogTemplate());
    Init({1280, 1024});
    EXPECT_EQ(dialog.SelectedText(IDC_RESOLUTION), "1280 x 1024 @ 60hz (5:4)");
    EXPECT_EQ(dialog.SelectedText(IDC_MONITOR), "5:4 (Detected)");
}

TEST_F(SetupDialogTest, OffersSampleCountsThatBothTheBackBufferAndDepthFormatsSupport)
{
    recorder->Config().multiSampleTypes = {D3DMULTISAMPLE_4_SAMPLES, D3DMULTISAMPLE_8_SAMPLES, D3DMULTISAMPLE_16_SAMPLES};
    Init();
    EXPECT_EQ(dialog.Items(IDC_MULTISAMPLE), (Strings{"No multisampling", "4 Samples", "8 Samples", "16 Samples"}));
    const auto& first = recorder->Call<Op::CheckDeviceMultiSampleType>(0);
    EXPECT_EQ(first.DeviceType, D3DDEVTYPE_HAL);
    EXPECT_EQ(first.Windowed, 0);

    recorder->Config().multiSampleFormats = {D3DFMT_X8R8G8B8};
    dialog = FakeDialogControls(SetupDialogTemplate());
    Init();
    EXPECT_EQ(dialog.Items(IDC_MULTISAMPLE), Strings{"No multisampling"});
}

TEST_F(SetupDialogTest, AMissingControlStopsTheDialog)
{
    for (int id : {IDC_RESOLUTION, IDC_MONITOR, IDC_MULTISAMPLE, IDC_FULLSCREEN, IDC_VSYNC}) {
        dialog = FakeDialogControls(SetupDialogTemplate());
        dialog.Remove(id);
        EXPECT_EQ(FailureOf([&] { Init(); }), "Failed to fetch setup resources") << id;
    }
    for (int id : {IDC_RESOLUTION, IDC_MULTISAMPLE}) {
        dialog = FakeDialogControls(SetupDialogTemplate());
        Init();
        dialog.Remove(id);
        EXPECT_EQ(FailureOf([&] { Send(WM_COMMAND, IDOK); }), "Failed to fetch setup resources") << id;
    }
}

TEST_F(SetupDialogTest, AFailedModeEnumerationNamesTheCodeAndTheFrameworkLine)
{
    recorder->FailCall(Op::EnumAdapterModes, 2, E_OUTOFMEMORY);
    EXPECT_EQ(FailureOf([&] { Init(); }), "Error: E_OUTOFMEMORY\n\n.\\Source\\Framework\\DXFramework.cpp : 662");
}

namespace {

struct Choice {
    const char* name;
    const char* resolution;
    const char* monitor;
    const char* multisampling;
    bool fullscreen;
    bool vsync;
    unsigned backBufferWidth, backBufferHeight, renderWidth, renderHeight, refreshRate, multiSampleType;
};

} // namespace

TEST_F(SetupDialogTest, RunTurnsTheChoicesIntoTheBackBufferAndTheLetterboxedPicture)
{
    const Choice choices[] = {
        {"windowed 1280", "1280 x 720 @ 60hz (16:9)", "16:9 (Detected)", "No multisampling", false, false, 1280, 720, 1280,
         720, 60, 0},
        {"windowed 1024 shrinks to 16:9", "1024 x 768 @ 75hz (4:3)", "4:3", "2 Samples", false, true, 1024, 576, 1024,
         576, 75, 2},
        {"fullscreen 4:3 mode on a 4:3 monitor", "1024 x 768 @ 75hz (4:3)", "4:3", "8 Samples", true, true, 1024, 768,
         1024, 576, 75, 8},
        {"fullscreen 5:4 mode on a 16:9 monitor", "1280 x 1024 @ 60hz (5:4)", "16:9 (Detected)", "4 Samples", true,
         false, 1280, 1024, 1280, 1024, 60, 4},
        {"fullscreen 16:9 mode on a 4:3 monitor", "1920 x 1080 @ 50hz (16:9)", "4:3", "No multisampling", true, true,
         1920, 1080, 1920, 810, 50, 0},
    };
    for (const Choice& choice : choices) {
        SCOPED_TRACE(choice.name);
        settings = DisplaySettings{};
        settings.multiSampleQuality = 3;
        dialog = FakeDialogControls(SetupDialogTemplate());
        Init();
        Pick(IDC_RESOLUTION, choice.resolution);
        Pick(IDC_MONITOR, choice.monitor);
        Pick(IDC_MULTISAMPLE, choice.multisampling);
        dialog.SetChecked(IDC_FULLSCREEN, choice.fullscreen);
        dialog.SetChecked(IDC_VSYNC, choice.vsync);

        EXPECT_EQ(Send(WM_COMMAND, IDOK), 1);
        EXPECT_TRUE(dialog.Ended());
        EXPECT_EQ(dialog.Result(), 1);
        EXPECT_EQ(settings.backBufferWidth, choice.backBufferWidth);
        EXPECT_EQ(settings.backBufferHeight, choice.backBufferHeight);
        EXPECT_EQ(settings.renderWidth, choice.renderWidth);
        EXPECT_EQ(settings.renderHeight, choice.renderHeight);
        EXPECT_EQ(settings.refreshRate, choice.refreshRate);
        EXPECT_EQ(settings.multiSampleType, choice.multiSampleType);
        EXPECT_EQ(settings.multiSampleQuality, 0u);
        EXPECT_EQ(settings.fullscreen, choice.fullscreen);
        EXPECT_EQ(settings.vsync, choice.vsync);
    }
}

TEST_F(SetupDialogTest, RunWithAListLeftEmptyNamesThatList)
{
    const std::pair<int, const char*> lists[] = {
        {IDC_RESOLUTION, "Invalid resolution selection"},
        {IDC_MULTISAMPLE, "Invalid multisample selection"},
        {IDC_MONITOR, "Invalid Monitor Aspect Ratio selection"},
    };
    for (const auto& [id, message] : lists) {
        dialog = FakeDialogControls(SetupDialogTemplate());
        Init();
        dialog.SelectItem(id, -1);
        EXPECT_EQ(FailureOf([&] { Send(WM_COMMAND, IDOK); }), message);
        EXPECT_FALSE(dialog.Ended());
        EXPECT_EQ(settings.backBufferWidth, 800u) << "a failed Run leaves the settings alone";
    }
}

TEST_F(SetupDialogTest, RunRefusesATextThatIsNoChoiceOfTheDialog)
{
    const std::tuple<int, const char*, const char*> texts[] = {
        {IDC_RESOLUTION, "1920 x", "Invalid resolution selection"},
        {IDC_MULTISAMPLE, "Many Samples", "Invalid multisample selection"},
        {IDC_MONITOR, "16:0", "Invalid Monitor Aspect Ratio selection"},
    };
    for (const auto& [id, text, message] : texts) {
        dialog = FakeDialogControls(SetupDialogTemplate());
        Init();
        dialog.SelectItem(id, dialog.AddItem(id, text));
        EXPECT_EQ(FailureOf([&] { Send(WM_COMMAND, IDOK); }), message) << text;
        EXPECT_EQ(settings.renderHeight, 450u);
    }
}

TEST_F(SetupDialogTest, ExitEndsWithTwoAndAsksTheShowToQuit)
{
    Init();
    EXPECT_EQ(Send(WM_COMMAND, IDC_FULLSCREEN), 0) << "a check box click is left to the box";
    EXPECT_FALSE(dialog.Ended());

    EXPECT_EQ(Send(WM_COMMAND, IDCANCEL), 1);
    EXPECT_TRUE(dialog.Ended());
    EXPECT_EQ(dialog.Result(), 2);
    MSG message;
    ASSERT_TRUE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(settings.backBufferWidth, 800u);
}
