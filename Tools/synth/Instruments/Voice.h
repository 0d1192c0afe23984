// One sounding note of an instrument. The base class places the note in song time: it starts
// at its first sample, receives its note-off at the sample the sequencer gave, and stops being
// rendered once it reports that it has died away.
#pragma once

namespace synth {

// Instrument settings that automation can move while notes sound.
struct LiveParams {
    float cutoff = 20000.0f;
    float resonance = 0.0f;
};

class Voice {
public:
    Voice(long start, long end) : start(start), end(end) {}
    virtual ~Voice() = default;

    // Adds the voice into left/right for the song's samples [from, from + frames).
    // Returns false once the voice is silent for good.
    bool Render(float* left, float* right, long from, int frames, const LiveParams& live);

protected:
    // Adds `frames` samples of the voice from where it stopped last time; false when finished.
    virtual bool Generate(float* left, float* right, int frames, const LiveParams& live) = 0;
    virtual void NoteOff() {}

    long Length() const { return end - start; }

private:
    long start, end;
    bool released = false;
};

} // namespace synth
