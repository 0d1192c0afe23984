#include "Framework/FrameworkEx.h"
#include "Framework/SetupDialog/SetupDialog.h"
#include "Framework/SetupDialog/SetupDialogTemplate.h"
#include "Platform/Gfx/Recorder/CreateRecorderDirect3D.h"
#include "Platform/Window/DialogShownHook.h"
#include "Platform/Window/MessagePump.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

namespace {

std::string Describe(const DialogPixelRect& rect)
{
    return std::to_string(rect.width) + "x" + std::to_string(rect.height) + " at (" + std::to_string(rect.x) + ", " +
           std::to_string(rect.y) + ")";
}

bool Overlap(const DialogPixelRect& a, const DialogPixelRect& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool Inside(const DialogPixelRect& inner, const DialogPixelRect& outer)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

class SetupDialogGtkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display)
            GTEST_SKIP() << "no DISPLAY: the GTK dialog needs an X server (Xvfb)";
    }
    void TearDown() override
    {
        SetDialogShownHook({});
        if (direct3D)
            direct3D->Release();
        MSG message;
        while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    IDirect3D9* direct3D = CreateRecorderDirect3D(recorder);
    DisplaySettings settings;
};

} // namespace

TEST_F(SetupDialogGtkTest, OpensPopulatedLaidOutWithoutOverlapsAndRunsWithTheDesktopMode)
{
    std::string caption;
    std::optional<std::string> resolution, monitor, multisampling;
    bool screenshotWritten = false;
    SetDialogShownHook([&](ShownDialog& dialog) {
        caption = dialog.Caption();
        resolution = dialog.Controls().SelectedText(IDC_RESOLUTION);
        monitor = dialog.Controls().SelectedText(IDC_MONITOR);
        multisampling = dialog.Controls().SelectedText(IDC_MULTISAMPLE);

        // Every label, list, box and button is on the dialog and clear of every other.
        const std::vector<DialogPixelRect> bounds = dialog.ControlBounds();
        const DialogPixelRect client = dialog.ClientArea();
        ASSERT_EQ(bounds.size(), SetupDialogTemplate().controls.size());
        for (size_t i = 0; i < bounds.size(); ++i) {
            EXPECT_TRUE(Inside(bounds[i], client)) << "control " << i << ", " << Describe(bounds[i]) << ", leaves the dialog";
            EXPECT_GT(bounds[i].width, 0);
            for (size_t j = i + 1; j < bounds.size(); ++j)
                EXPECT_FALSE(Overlap(bounds[i], bounds[j]))
                    << "control " << i << ", " << Describe(bounds[i]) << ", overlaps control " << j << ", "
                    << Describe(bounds[j]);
        }

        screenshotWritten = dialog.SaveScreenshot(QL_DIALOG_SCREENSHOT);
        dialog.Click(IDOK);
    });

    SetupDialog setup(*direct3D, settings, {1920, 1080});
    EXPECT_EQ(setup.Run(), 1);

    EXPECT_EQ(caption, "Tindrevik 2009");
    EXPECT_EQ(resolution, "1920 x 1080 @ 60hz (16:9)");
    EXPECT_EQ(monitor, "16:9 (Detected)");
    EXPECT_EQ(multisampling, "No multisampling");
    EXPECT_TRUE(screenshotWritten) << QL_DIALOG_SCREENSHOT;
    std::cout << "screenshot: " << QL_DIALOG_SCREENSHOT << "\n";

    EXPECT_EQ(settings.backBufferWidth, 1920u);
    EXPECT_EQ(settings.backBufferHeight, 1080u);
    EXPECT_EQ(settings.renderHeight, 1080u);
    EXPECT_TRUE(settings.fullscreen);
    EXPECT_TRUE(settings.vsync);
    EXPECT_EQ(settings.multiSampleType, 0u);
}

TEST_F(SetupDialogGtkTest, ExitReturnsTwoAndPostsTheQuitRequest)
{
    SetDialogShownHook([](ShownDialog& dialog) { dialog.Click(IDCANCEL); });
    SetupDialog setup(*direct3D, settings, {1920, 1080});
    EXPECT_EQ(setup.Run(), 2);
    MSG message;
    ASSERT_TRUE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_QUIT);
}

TEST_F(SetupDialogGtkTest, AFailureWhileFillingTheListsClosesTheDialogAndReachesTheCaller)
{
    bool shown = false;
    SetDialogShownHook([&](ShownDialog& dialog) {
        shown = true;
        dialog.Click(IDCANCEL);
    });
    recorder->FailCall(Op::EnumAdapterModes, 0, E_FAIL);
    SetupDialog setup(*direct3D, settings, {1920, 1080});
    try {
        setup.Run();
        ADD_FAILURE() << "Run returned";
    } catch (const FrameworkEx& failure) {
        EXPECT_EQ(failure.message, "Error: E_FAIL\n\n.\\Source\\Framework\\DXFramework.cpp : 662");
    }
    EXPECT_FALSE(shown);
}

TEST(SetupDialogWithoutDisplayTest, TellsTheUserToSetDisplayOrSkipTheDialog)
{
    // In a fresh process: once GTK has opened a display it keeps it.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            auto recorder = std::make_shared<Recorder>();
            DisplaySettings settings;
            SetupDialog setup(*CreateRecorderDirect3D(recorder), settings, {1920, 1080});
            try {
                setup.Run();
            } catch (const FrameworkEx& failure) {
                std::cerr << failure.message;
                std::exit(0);
            }
            std::exit(1);
        },
        ::testing::ExitedWithCode(0),
        "\\[SetupDialog::Run\\]: No display to show the setup dialog on. Set DISPLAY, or start with --nosetup");
}
