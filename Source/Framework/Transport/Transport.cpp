#include "Framework/Transport/Transport.h"

#include "Framework/BASSPlayer/BASSPlayer.h"
#include "Framework/DXFramework.h"
#include "Framework/Input/KeyHandler.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Framework/Timer/Timer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

// A scene start this close before the clock counts as the current one's: Page Up then goes to the
// one before, as a second press right after a jump expects.
constexpr double SceneStartTolerance = 0.25;

bool Pressed(uint32_t key)
{
    return KeyHandler::Instance()->WentDown(key);
}

bool Held(uint32_t key)
{
    return KeyHandler::Instance()->State(key).down;
}

} // namespace

double Transport::LastFrameTime()
{
    return DXFramework::ShowEndTime - SceneHandler::StepSeconds;
}

std::string Transport::FrameFileName(double seconds)
{
    std::ostringstream name;
    name << "show-" << seconds << ".png";
    return name.str();
}

double Transport::Now() const
{
    return paused ? pausedAt : Timer::GetElapsed();
}

void Transport::BeforeFrame()
{
    HandleKeys();
    if (looping && Timer::GetElapsed() >= loop.end && !paused)
        JumpTo(loop.start);
    if (!paused && Timer::GetElapsed() >= LastFrameTime()) {
        JumpTo(LastFrameTime());
        SetPaused(true);
    }
    if (paused)
        Timer::SetFrameClock(pausedAt, 0.0);
}

void Transport::HandleKeys()
{
    const double now = Now();
    if (Pressed(VK_SPACE))
        SetPaused(!paused);
    const double bars = Held(VK_SHIFT) ? 4.0 : 1.0;
    if (Pressed(VK_LEFT))
        JumpTo(now - bars * BarSeconds);
    if (Pressed(VK_RIGHT))
        JumpTo(now + bars * BarSeconds);
    if (Pressed(VK_PRIOR))
        JumpTo(SceneStartBefore(now));
    if (Pressed(VK_NEXT))
        JumpTo(SceneStartAfter(now));
    if (Pressed(VK_HOME))
        JumpTo(0.0);
    if (paused && Pressed(VK_OEM_COMMA))
        JumpTo(now - SceneHandler::StepSeconds);
    if (paused && Pressed(VK_OEM_PERIOD))
        JumpTo(now + SceneHandler::StepSeconds);
    if (Pressed('L')) {
        if (looping)
            looping = false;
        else
            LoopCurrentScene();
    }
    if (Pressed(VK_OEM_4)) {
        loop.start = now;
        loop.end = std::max(loop.end, now + SceneHandler::StepSeconds);
        looping = true;
    }
    if (Pressed(VK_OEM_6)) {
        loop.end = now;
        loop.start = std::min(loop.start, now - SceneHandler::StepSeconds);
        looping = true;
    }
    if (Pressed(VK_F1))
        overlayShown = !overlayShown;
    if (Pressed(VK_F12))
        frameToSave = FrameFileName(now);
}

void Transport::FrameTimed(double seconds)
{
    ++framesCounted;
    secondsCounted += seconds;
    if (secondsCounted >= 0.5) {
        meanFrameSeconds = secondsCounted / framesCounted;
        framesCounted = 0;
        secondsCounted = 0.0;
    }
}

std::vector<std::string> Transport::OverlayLines() const
{
    const double now = Now();
    const double beat = BarSeconds / 4.0;
    const double inShow = std::max(now, 0.0);
    char line[160];
    std::vector<std::string> lines;
    std::snprintf(line, sizeof(line), "%8.3f s   bar %d.%d   row %.1f", now, static_cast<int>(inShow / BarSeconds) + 1,
                  static_cast<int>(std::fmod(inShow, BarSeconds) / beat) + 1, now * SyncRowRate);
    lines.emplace_back(line);
    const Scene* scene = SceneHandler::Instance()->GetCurrentScene();
    lines.push_back(scene ? scene->GetName() : "(no scene)");
    if (meanFrameSeconds > 0.0)
        std::snprintf(line, sizeof(line), "%.1f ms   %.1f fps", meanFrameSeconds * 1000.0, 1.0 / meanFrameSeconds);
    else
        std::snprintf(line, sizeof(line), "-- ms   -- fps");
    lines.emplace_back(line);
    std::string state = paused ? "paused" : "playing";
    if (looping || loop.end > loop.start) {
        std::snprintf(line, sizeof(line), "   loop %.3f - %.3f %s", loop.start, loop.end, looping ? "on" : "off");
        state += line;
    }
    lines.push_back(state);
    lines.insert(lines.end(), errorLines.begin(), errorLines.end());
    return lines;
}

std::optional<std::string> Transport::TakeFrameToSave()
{
    std::optional<std::string> name;
    name.swap(frameToSave);
    return name;
}

void Transport::LoopCurrentScene()
{
    const double now = Now();
    loop.start = SceneStartBefore(now + SceneStartTolerance);
    loop.end = SceneStartAfter(now);
    looping = true;
}

double Transport::SceneStartBefore(double seconds) const
{
    double start = 0.0;
    for (const TimelineEntry& entry : SceneHandler::Instance()->GetTimeline().Entries())
        if (entry.time < seconds - SceneStartTolerance)
            start = entry.time;
    return start;
}

double Transport::SceneStartAfter(double seconds) const
{
    for (const TimelineEntry& entry : SceneHandler::Instance()->GetTimeline().Entries())
        if (entry.time > seconds + 1e-6)
            return entry.time;
    return LastFrameTime();
}

void Transport::JumpTo(double seconds)
{
    const double t = std::clamp(seconds, 0.0, LastFrameTime());
    // Playing, the picture at t is due when the music at t is heard, the latency after it starts.
    const double shown = paused ? t : t - framework.MusicLatency();
    Land(shown);
    if (paused)
        pausedAt = t;
    SetMusicPosition(t);
}

void Transport::Land(double seconds)
{
    if (framework.showStates)
        framework.showStates->SeekTo(seconds, true);
    else
        SceneHandler::Instance()->SkipStepsTo(seconds);
    Timer::SetTime(seconds, 0.0);
}

void Transport::SetMusicPosition(double seconds)
{
    if (const BASSPlayer* player = BASSPlayer::Instance(); player && player->Stream()) {
        const HSTREAM stream = player->Stream();
        BASS_ChannelSetPosition(stream, BASS_ChannelSeconds2Bytes(stream, seconds), BASS_POS_BYTE);
    }
}

void Transport::SetPaused(bool pause)
{
    if (pause == paused)
        return;
    const BASSPlayer* player = BASSPlayer::Instance();
    const HSTREAM stream = player ? player->Stream() : 0;
    if (pause) {
        pausedAt = Timer::GetElapsed();
        paused = true;
        if (stream)
            BASS_ChannelPause(stream);
        return;
    }
    paused = false;
    Land(pausedAt - framework.MusicLatency());
    if (stream) {
        SetMusicPosition(pausedAt);
        BASS_ChannelPlay(stream, FALSE);
    }
}
