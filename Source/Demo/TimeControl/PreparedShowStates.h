// The player's keeper of the show's states. At the start it takes the state at 0; a thread of its
// own then fills the cache: from the cache file of this player and this archive if there is one,
// otherwise from a preparing process (the player run in its preparing mode), whose states it also
// writes to the cache file for the next run. Seeks put back the latest state at least three steps
// before their time (the sprites' rings then hold real positions again) and step on from there;
// the states the show passes as it plays are kept too.
#pragma once

#include "Demo/TimeControl/StateCache.h"
#include "Framework/SceneHandler/ShowStates.h"

#include <memory>
#include <string>
#include <thread>

class DXFramework;

class PreparedShowStates : public ShowStates {
public:
    // Steps a seek takes at most from a kept state; beyond, a seek that may not wait gives up.
    static constexpr int64_t CatchUpSteps = 60;
    // Steps before its time that a seek puts a state back: the longest ring of positions.
    static constexpr int64_t RingSteps = 3;
    // The frames before its time that a seek into the intro or the end draws, for their trails: the
    // last in whole, those before only their specks, at a third of the cost, the first seeding the
    // trails of the frames before it. Measured against the stills at 640x360: 47-49 dB (twelve
    // frames, three whole, unseeded: 50-53 dB, for half as much again).
    static constexpr int64_t TrailSteps = 9;
    static constexpr int64_t WholeTrailSteps = 1;

    // preparer: the program to run in its preparing mode (empty: prepare nothing, keep only what
    // the show passes); archive: the show's archive, which with the program names the cache file
    // (empty: no cache file).
    PreparedShowStates(DXFramework& framework, std::string preparer, std::string archive);
    ~PreparedShowStates() override;

    void Loaded() override;
    bool SeekTo(double seconds, bool mayWait) override;
    void FramePlayed() override;
    void InvalidateFrom(double seconds) override;

    // For live reload: the states from that show time on no longer hold.
    StateCache& Cache() { return *cache; }

    // Where this player keeps its states for this archive: the user's cache folder, named by a
    // hash of the program and the archive.
    static std::string CacheFileFor(const std::string& program, const std::string& archive);

private:
    // On the worker thread, which owns a share of the cache: the player may end before the
    // preparation does, and the preparing process then writes the cache file alone.
    static void Prepare(const std::shared_ptr<StateCache>& cache, const std::string& preparer, const std::string& archive);
    static bool LoadCacheFile(StateCache& cache, const std::string& cacheFile);
    static void RunPreparer(StateCache& cache, const std::string& preparer, const std::string& cacheFile);

    DXFramework& framework;
    std::string preparer;
    std::string archive;
    std::shared_ptr<StateCache> cache = std::make_shared<StateCache>();
    std::thread worker;
    int64_t lastKeptSecond = -1;
};
