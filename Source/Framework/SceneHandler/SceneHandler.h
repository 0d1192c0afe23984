// Owns every scene and, from the show time and the timeline, decides which one is current.
#pragma once

#include "Framework/LiveReload/ReloadHub.h"
#include "Framework/SceneHandler/Scene.h"
#include "Framework/SceneHandler/SceneTimeline.h"
#include "Framework/Singleton.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class SceneHandler : public Singleton<SceneHandler> {
public:
    // Reads the timeline from the archive.
    SceneHandler();
    ~SceneHandler();

    // Registers the scene and makes it current; a name already registered is refused.
    void AddScene(std::unique_ptr<Scene> scene);

    // The simulation (everything a scene carries from frame to frame) moves in steps of this many
    // show seconds, whatever the frame rate, so that its state at a show time is always the same.
    static constexpr double StepsPerSecond = 60.0;
    static constexpr double StepSeconds = 1.0 / StepsPerSecond;
    // Step k stands at k / StepsPerSecond, as a 60-frames-a-second clock computes its frames' times.
    static double StepTime(int64_t step) { return static_cast<double>(step) / StepsPerSecond; }

    // Once per drawn frame, at the clock as it stands: first the simulation's steps up to the
    // clock (each one at its own time: the timeline's switch, the current scene's lights and
    // Step), then the switch at the clock, the frame constants and the current scene's Update.
    // A clock that went back takes no step; the state goes on from where it is.
    void Update();

    // The number of steps whose time is at or before the show time: the state a frame at that
    // time draws is the one after that many steps from 0.
    static int64_t StepsAt(double seconds);
    // The steps taken so far: the simulation stands at StepsTaken() x StepSeconds.
    int64_t StepsTaken() const { return stepsTaken; }
    // False once steps were skipped (a stall, a clock that went back, SkipStepsTo) since the show
    // started or a state was put back: the state is then not the one a run from 0 has.
    bool OnTrueCourse() const { return onTrueCourse; }
    // A reloaded file changed what the steps already taken would have done.
    void LeaveTrueCourse() { onTrueCourse = false; }
    // Moves the simulation's clock to the show time without stepping; the state stays as it is.
    // A stall longer than the player allows, and a seek before its state is put in place, use it.
    void SkipStepsTo(double seconds);
    // For a state put back: the simulation stands at that step, and the scene of its time is
    // current, activated but not started (its state is the one put back).
    void PutStepsAt(int64_t steps);
    // At most this many steps in one Update (0: no bound); those beyond are skipped.
    void SetMostStepsPerUpdate(int64_t steps) { mostStepsPerUpdate = steps; }
    int64_t MostStepsPerUpdate() const { return mostStepsPerUpdate; }

    // Device lifecycle, forwarded to every scene in name order.
    void ActivateAndDeactivateAll();
    void LoadAll();
    void UnloadAll();

    // Reads the timeline again. A timeline that cannot be read, or that names a scene never added,
    // raises FrameworkEx and the old one stays. The current scene goes on undisturbed when the new
    // timeline keeps it at this time; otherwise the next Update switches.
    void ReloadTimeline();

    Scene* GetCurrentScene() const { return currentScene; }
    SceneTimeline& GetTimeline() { return *timeline; }
    const std::map<std::string, std::unique_ptr<Scene>>& Scenes() const { return scenes; }

private:
    // Switches to the scene the timeline names at t, if it is not the current one's entry, and
    // starts it when asked.
    void SwitchAt(float t, bool start);

    std::map<std::string, std::unique_ptr<Scene>> scenes;
    Scene* currentScene = nullptr;
    std::unique_ptr<SceneTimeline> timeline;
    ReloadHub::Subscription timelineReload;
    int64_t stepsTaken = 0;
    int64_t mostStepsPerUpdate = 0;
    bool onTrueCourse = true;
};
