// Numbers every part of the synthesiser shares.
#pragma once

namespace synth {

constexpr int SampleRate = 44100;
constexpr double Pi = 3.14159265358979323846;

// Decibels <-> linear amplitude. Levels at or below SilenceDb count as silence.
constexpr float SilenceDb = -150.0f;
float DbToGain(float db);
float GainToDb(float gain);

// MIDI note number (fractional allowed) -> frequency in Hz, A4 = 69 = 440 Hz.
double NoteToHz(double note);

} // namespace synth
