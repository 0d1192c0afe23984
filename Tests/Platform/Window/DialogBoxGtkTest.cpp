#include "DialogControlsContract.h"
#include "Platform/Window/DialogBox.h"
#include "Platform/Window/DialogShownHook.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Received&) const = default;
};

void PrintTo(const Received& received, std::ostream* out)
{
    *out << "{message 0x" << std::hex << received.message << std::dec << ", wParam " << received.wParam
         << ", lParam " << received.lParam << "}";
}

// Records every message; Run and Exit end the dialog with their ids unless told to ignore Exit.
struct RecordingProcedure {
    std::vector<Received> received;
    bool ignoreCancel = false;

    DialogProc Procedure()
    {
        return [this](DialogControls& dialog, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
            received.push_back({message, wParam, lParam});
            if (message == WM_COMMAND && (wParam == IDOK || (wParam == IDCANCEL && !ignoreCancel))) {
                dialog.EndDialog(INT_PTR(wParam));
                return 1;
            }
            return message == WM_INITDIALOG;
        };
    }
};

class DialogBoxGtkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display)
            GTEST_SKIP() << "no DISPLAY: the GTK dialog needs an X server (Xvfb)";
    }
    void TearDown() override { SetDialogShownHook({}); }
};

} // namespace

TEST(DialogBoxWithoutDisplayTest, ReturnsMinusOneAndNeverCallsTheProcedure)
{
    // In a fresh process: once GTK has opened a display it keeps it.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            bool called = false;
            const INT_PTR result = RunModalDialog(
                ContractTemplate(), [&](DialogControls&, UINT, WPARAM, LPARAM) -> INT_PTR { return called = true; }, 0);
            std::exit(result == -1 && !called ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(DialogBoxGtkTest, InitDialogComesFirstAndRunEndsTheDialog)
{
    RecordingProcedure recorder;
    std::string caption;
    SetDialogShownHook([&](ShownDialog& dialog) {
        caption = dialog.Caption();
        EXPECT_TRUE(dialog.Click(IDOK));
    });
    EXPECT_EQ(RunModalDialog(ContractTemplate(), recorder.Procedure(), 42), IDOK);
    EXPECT_EQ(caption, "Contract");
    const std::vector<Received> expected{{WM_INITDIALOG, 0, 42}, {WM_COMMAND, IDOK, 0}};
    EXPECT_EQ(recorder.received, expected);
}

TEST_F(DialogBoxGtkTest, GtkControlsKeepTheContract)
{
    const INT_PTR result = RunModalDialog(
        ContractTemplate(),
        [](DialogControls& dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
            if (message != WM_INITDIALOG)
                return 0;
            ExpectControlsContract(dialog);
            dialog.EndDialog(7);
            return 1;
        },
        0);
    EXPECT_EQ(result, 7);
}

TEST_F(DialogBoxGtkTest, EnterMeansRunAndEscapeAndTheCloseBoxMeanExit)
{
    struct Case {
        const char* name;
        std::function<void(ShownDialog&)> answer;
        INT_PTR expected;
    };
    const std::vector<Case> cases{
        {"Enter", [](ShownDialog& dialog) { dialog.PressKey(DialogKey::Enter); }, IDOK},
        {"Escape", [](ShownDialog& dialog) { dialog.PressKey(DialogKey::Escape); }, IDCANCEL},
        {"close box", [](ShownDialog& dialog) { dialog.Close(); }, IDCANCEL},
        {"Exit", [](ShownDialog& dialog) { dialog.Click(IDCANCEL); }, IDCANCEL},
    };
    for (const Case& answer : cases) {
        RecordingProcedure recorder;
        SetDialogShownHook(answer.answer);
        EXPECT_EQ(RunModalDialog(ContractTemplate(), recorder.Procedure(), 0), answer.expected) << answer.name;
        ASSERT_EQ(recorder.received.size(), 2u) << answer.name;
        EXPECT_EQ(recorder.received[1], (Received{WM_COMMAND, WPARAM(answer.expected), 0})) << answer.name;
    }
}

TEST_F(DialogBoxGtkTest, TheProcedureDecidesWhetherTheCloseBoxEndsTheDialog)
{
    RecordingProcedure recorder;
    recorder.ignoreCancel = true;
    SetDialogShownHook([](ShownDialog& dialog) {
        dialog.Close();
        dialog.Click(IDOK);
    });
    EXPECT_EQ(RunModalDialog(ContractTemplate(), recorder.Procedure(), 0), IDOK);
    const std::vector<Received> expected{{WM_INITDIALOG, 0, 0}, {WM_COMMAND, IDCANCEL, 0}, {WM_COMMAND, IDOK, 0}};
    EXPECT_EQ(recorder.received, expected);
}

TEST_F(DialogBoxGtkTest, ClickingACheckBoxTogglesItButCheckingItInCodeSendsNothing)
{
    RecordingProcedure recorder;
    DialogProc recording = recorder.Procedure();
    std::optional<bool> checkedWhenShown;
    std::optional<bool> checkedAfterClick;
    DialogProc procedure = [&](DialogControls& dialog, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
        if (message == WM_INITDIALOG)
            dialog.SetChecked(ContractBox, true);
        return recording(dialog, message, wParam, lParam);
    };
    SetDialogShownHook([&](ShownDialog& dialog) {
        checkedWhenShown = dialog.Controls().IsChecked(ContractBox);
        dialog.Click(ContractBox);
        checkedAfterClick = dialog.Controls().IsChecked(ContractBox);
        dialog.Click(IDOK);
    });
    EXPECT_EQ(RunModalDialog(ContractTemplate(), procedure, 0), IDOK);
    EXPECT_EQ(checkedWhenShown, true);
    EXPECT_EQ(checkedAfterClick, false);
    const std::vector<Received> expected{{WM_INITDIALOG, 0, 0}, {WM_COMMAND, ContractBox, 0}, {WM_COMMAND, IDOK, 0}};
    EXPECT_EQ(recorder.received, expected);
}

TEST_F(DialogBoxGtkTest, AnExceptionFromTheProcedureClosesTheDialogAndLeavesTheRun)
{
    SetDialogShownHook([](ShownDialog& dialog) { dialog.Click(IDOK); });
    const DialogProc throwing = [](DialogControls&, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND)
            throw std::runtime_error("Invalid resolution selection");
        return 1;
    };
    EXPECT_THROW(RunModalDialog(ContractTemplate(), throwing, 0), std::runtime_error);

    // The next dialog runs as if nothing had happened.
    RecordingProcedure recorder;
    EXPECT_EQ(RunModalDialog(ContractTemplate(), recorder.Procedure(), 0), IDOK);
}

TEST_F(DialogBoxGtkTest, EndingTheDialogWhileItInitialisesNeverShowsIt)
{
    bool shown = false;
    SetDialogShownHook([&](ShownDialog& dialog) {
        shown = true;
        dialog.Click(IDOK);
    });
    const INT_PTR result = RunModalDialog(
        ContractTemplate(),
        [](DialogControls& dialog, UINT, WPARAM, LPARAM) -> INT_PTR {
            dialog.EndDialog(IDCANCEL);
            return 1;
        },
        0);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(shown);
}

TEST_F(DialogBoxGtkTest, OpeningTheDisplayLeavesTheProcessLocaleAlone)
{
    // GTK adopts the environment's locale unless told not to, which would change how the engine
    // reads and prints numbers.
    setenv("LC_ALL", "C.UTF-8", 1);
    const std::string before = std::setlocale(LC_ALL, nullptr);
    SetDialogShownHook([](ShownDialog& dialog) { dialog.Click(IDOK); });
    RecordingProcedure recorder;
    RunModalDialog(ContractTemplate(), recorder.Procedure(), 0);
    unsetenv("LC_ALL");
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before);
}
