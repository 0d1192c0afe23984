// What the framework asks of whoever keeps the show's simulation states (the demo, which knows its
// modules): to stand at a show time as a run from 0 stands there, without stepping all the way.
#pragma once

class ShowStates {
public:
    virtual ~ShowStates() = default;

    // The show is loaded and stands at its start.
    virtual void Loaded() = 0;
    // Puts the simulation where a run from 0 stands at the show time, so that the next frame at
    // that time draws what a run from 0 draws. With mayWait, waits for the states being prepared
    // and steps as far as it must; without, lands only if a state kept now is near enough, and
    // returns false (changing nothing) otherwise.
    virtual bool SeekTo(double seconds, bool mayWait) = 0;
    // After each frame the player draws: the state it passed may be kept.
    virtual void FramePlayed() = 0;
    // What the show draws from that show time on has changed (a data file reloaded): the states
    // kept from there no longer hold, and none prepared before the change is taken any more.
    virtual void InvalidateFrom(double seconds) = 0;
};
