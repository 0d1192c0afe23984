// The song as the score file describes it: instruments, patterns, harmony, arrangement by bar,
// automation and the master bus. Positions are in bars from the song's start (fractional when
// a beat is given); the renderer turns them into samples.
#pragma once

#include "Dsp/Envelope.h"
#include "Dsp/Oscillator.h"

#include <optional>
#include <string>
#include <vector>

#include "Score/Chord.h"

namespace synth {

enum class InstrumentType { Synth, Kick, Snare, Clap, Hat, Riser };

// Every setting an instrument may have; each type reads the ones that concern it (the parser
// refuses the others), so unset ones keep these defaults.
struct Instrument {
    std::string name;
    InstrumentType type = InstrumentType::Synth;
    int line = 0;

    // Mixer strip, all types.
    float gain = 0.0f;       // dB
    float pan = 0.0f;        // -1 left .. 1 right
    float delaySend = 0.0f;  // 0..1
    float reverbSend = 0.0f; // 0..1
    float duck = 0.0f;       // 0..1, depth of the sidechain ducking under the kick

    // Tone: oscillators (synth, riser).
    Waveform wave = Waveform::Saw;
    float unison = 1.0f;     // voices per note
    float detune = 0.0f;     // cents between the outermost unison voices
    float spread = 0.0f;     // stereo width of the unison voices, 0..1
    float sub = 0.0f;        // level of a sine one octave down
    float noise = 0.0f;      // level of white noise
    float pulseWidth = 0.5f; // square wave duty cycle
    float transpose = 0.0f;  // semitones
    float vibrato = 0.0f;    // cents
    float vibratoRate = 5.0f;// Hz
    float drive = 0.0f;      // soft saturation after the filter, 0 = clean

    // Filter (synth, riser, hat, clap, snare use cutoff).
    float cutoff = 20000.0f; // Hz
    float resonance = 0.0f;  // 0..1
    float poles = 2.0f;      // 2 or 4
    float envAmount = 0.0f;  // octaves of cutoff added by the filter envelope
    float keyTrack = 0.0f;   // 1 = cutoff follows the note exactly
    AdsrTimes amp{0.005f, 0.1f, 1.0f, 0.05f};
    AdsrTimes filterEnv{0.005f, 0.2f, 0.0f, 0.1f};

    // Drums.
    float pitch = 50.0f;       // Hz: kick body, snare tone
    float punch = 200.0f;      // Hz: kick start pitch
    float pitchDecay = 0.04f;  // seconds
    float click = 0.3f;        // kick transient level
    float tone = 0.4f;         // snare: tone vs noise, 0..1
    float metal = 0.5f;        // hat: metallic oscillators vs noise, 0..1
    float spacing = 0.011f;    // clap: seconds between the hands
    float sweep = 8000.0f;     // riser: cutoff at the note's end, Hz
    float rise = 12.0f;        // riser: semitones of pitch rise over the note
};

enum class ArpMode { None, Up, Down, UpDown };

struct Step {
    enum class Kind { Rest, Hold, Note, Root, Chord, Hit };
    Kind kind = Kind::Rest;
    int value = 0;          // MIDI note (Note), semitones above the root (Root)
    float velocity = 1.0f;  // hits: X 1.0, x 0.8, o 0.55
};

struct Pattern {
    std::string name;
    int line = 0;
    int stepsPerBar = 16;
    int bars = 1;
    std::vector<Step> steps;    // stepsPerBar * bars of them
    int window = 60;            // lowest note of the octave that chords and roots are placed in
    float gate = 1.0f;          // fraction of its length a note sounds
    float velocity = 1.0f;
    ArpMode arp = ArpMode::None;
    int arpOctaves = 1;
};

struct Placement {
    int line = 0;
    double startBar = 0.0, endBar = 0.0;
    int instrument = 0;
    int pattern = 0;
    int transpose = 0;
    float velocity = 1.0f;
};

enum class AutomatedParam { Gain, Cutoff, Resonance, DelaySend, ReverbSend };

struct AutomationSegment {
    int line = 0;
    int instrument = -1;  // -1: the master bus
    AutomatedParam param = AutomatedParam::Gain;
    double startBar = 0.0, endBar = 0.0;
    float from = 0.0f, to = 0.0f;
};

struct Master {
    float gain = 0.0f;           // dB into the limiter
    float ceiling = -1.5f;       // dBTP
    float limiterRelease = 0.08f;// seconds
    float delayBeats = 0.75f;
    float delayFeedback = 0.4f;
    float delayTone = 4000.0f;   // Hz
    float reverbTime = 2.5f;     // seconds
    float reverbDamping = 6000.0f;
    float reverbPreDelay = 0.02f;
    float duckRelease = 0.2f;    // seconds for ducked parts to come back after a kick
    int sidechain = -1;          // instrument whose notes duck the others
    int sidechainLine = 0;
    std::string sidechainName;
};

struct Score {
    std::string fileName;
    std::string title;
    double tempo = 120.0;      // beats per minute
    int beatsPerBar = 4;
    int bars = 0;
    std::vector<Instrument> instruments;
    std::vector<Pattern> patterns;
    std::vector<std::optional<Chord>> harmony; // per bar
    std::vector<Placement> arrangement;
    std::vector<AutomationSegment> automation;
    Master master;

    double SecondsPerBar() const { return beatsPerBar * 60.0 / tempo; }
};

} // namespace synth
