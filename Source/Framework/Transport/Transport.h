// The maker's control of the show's time (the player's --dev mode): pause, jumps by bars and to
// scene starts, single steps while paused, a loop, a saved frame, and the overlay's switch. Every
// jump lands on the state a run from 0 has at its time (through the framework's ShowStates), and
// the music follows the clock.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class DXFramework;

class Transport {
public:
    // One bar of the soundtrack: four beats at 128 beats a minute.
    static constexpr double BarSeconds = 1.875;

    explicit Transport(DXFramework& framework) : framework(framework) {}

    // Once per frame, after the clock's update and before the frame: acts on the keys pressed
    // since the last frame, holds the clock while paused, returns to a loop's start at its end and
    // pauses on the show's last frame.
    void BeforeFrame();

    // Puts the show at the time (within the show): its state, the clock and the music.
    void JumpTo(double seconds);
    void SetPaused(bool paused);
    bool Paused() const { return paused; }
    // The time a paused show holds.
    double PausedAt() const { return pausedAt; }

    struct Loop {
        double start = 0.0, end = 0.0;
    };
    // The loop's range when it is on.
    std::optional<Loop> ActiveLoop() const { return looping ? std::optional<Loop>(loop) : std::nullopt; }
    // The range [ and ] set, or L took from the current scene, whether on or not.
    const Loop& LoopRange() const { return loop; }

    bool OverlayShown() const { return overlayShown; }
    // The overlay's lines: show time in seconds and bar.beat, sync row, scene, frame time and
    // frames a second (over the last half second), pause and loop, then the error lines.
    std::vector<std::string> OverlayLines() const;
    // Lines the overlay shows under its readout until replaced (live reload's faults); none: [].
    void SetErrorLines(std::vector<std::string> lines) { errorLines = std::move(lines); }
    // A frame of the player took that many wall-clock seconds.
    void FrameTimed(double seconds);
    // The file F12 asked for this frame, taken by the one who saves it.
    std::optional<std::string> TakeFrameToSave();

    // The show's last frame, where dev mode pauses.
    static double LastFrameTime();
    // The file name of a frame saved at the show time: "show-47.5.png".
    static std::string FrameFileName(double seconds);

private:
    void HandleKeys();
    // The show's state and clock at the time.
    void Land(double seconds);
    void SetMusicPosition(double seconds);
    // The start of the timeline's entry before or after the time (0 and the show's end beyond).
    double SceneStartBefore(double seconds) const;
    double SceneStartAfter(double seconds) const;
    void LoopCurrentScene();
    double Now() const;

    DXFramework& framework;
    bool paused = false;
    double pausedAt = 0.0;
    bool looping = false;
    Loop loop;
    bool overlayShown = true;
    std::optional<std::string> frameToSave;
    std::vector<std::string> errorLines;
    // Frames and their seconds in the half second being counted, and the last half second's means.
    int framesCounted = 0;
    double secondsCounted = 0.0;
    double meanFrameSeconds = 0.0;
};
