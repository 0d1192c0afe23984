#include "Score/InstrumentSettings.h"

#include <array>
#include <cstdint>

namespace synth {
namespace {

constexpr uint32_t Bit(InstrumentType type)
{
    return 1u << static_cast<int>(type);
}

constexpr uint32_t Drums = Bit(InstrumentType::Kick) | Bit(InstrumentType::Snare) | Bit(InstrumentType::Clap) |
                           Bit(InstrumentType::Hat);
constexpr uint32_t Tonal = Bit(InstrumentType::Synth) | Bit(InstrumentType::Riser);
constexpr uint32_t All = Drums | Tonal;

struct Setting {
    const char* key;
    float Instrument::*field;
    float lowest, highest;
    uint32_t types;
};

// Envelope fields live in nested structs; they get their own table below.
const std::array<Setting, 29> Settings = {{
    {"gain", &Instrument::gain, -60, 24, All},
    {"pan", &Instrument::pan, -1, 1, All},
    {"delay", &Instrument::delaySend, 0, 1, All},
    {"reverb", &Instrument::reverbSend, 0, 1, All},
    {"duck", &Instrument::duck, 0, 1, All},
    {"unison", &Instrument::unison, 1, 9, Tonal},
    {"detune", &Instrument::detune, 0, 100, Tonal},
    {"spread", &Instrument::spread, 0, 1, Bit(InstrumentType::Synth)},
    {"sub", &Instrument::sub, 0, 1, Bit(InstrumentType::Synth)},
    {"noise", &Instrument::noise, 0, 1, Tonal},
    {"width", &Instrument::pulseWidth, 0.05f, 0.95f, Bit(InstrumentType::Synth)},
    {"transpose", &Instrument::transpose, -48, 48, Tonal},
    {"vibrato", &Instrument::vibrato, 0, 100, Bit(InstrumentType::Synth)},
    {"vibrato-rate", &Instrument::vibratoRate, 0.1f, 20, Bit(InstrumentType::Synth)},
    {"drive", &Instrument::drive, 0, 10, Bit(InstrumentType::Synth) | Bit(InstrumentType::Kick)},
    {"cutoff", &Instrument::cutoff, 20, 20000, Tonal | Bit(InstrumentType::Hat) | Bit(InstrumentType::Clap) |
                                                   Bit(InstrumentType::Snare)},
    {"resonance", &Instrument::resonance, 0, 0.99f, Tonal | Bit(InstrumentType::Hat) | Bit(InstrumentType::Clap)},
    {"poles", &Instrument::poles, 2, 4, Bit(InstrumentType::Synth)},
    {"env-amount", &Instrument::envAmount, -8, 8, Bit(InstrumentType::Synth)},
    {"key-track", &Instrument::keyTrack, 0, 1, Bit(InstrumentType::Synth)},
    {"pitch", &Instrument::pitch, 20, 2000, Bit(InstrumentType::Kick) | Bit(InstrumentType::Snare)},
    {"punch", &Instrument::punch, 20, 4000, Bit(InstrumentType::Kick)},
    {"pitch-decay", &Instrument::pitchDecay, 0.001f, 1, Bit(InstrumentType::Kick)},
    {"click", &Instrument::click, 0, 1, Bit(InstrumentType::Kick)},
    {"tone", &Instrument::tone, 0, 1, Bit(InstrumentType::Snare)},
    {"metal", &Instrument::metal, 0, 1, Bit(InstrumentType::Hat)},
    {"spacing", &Instrument::spacing, 0.002f, 0.05f, Bit(InstrumentType::Clap)},
    {"sweep", &Instrument::sweep, 20, 20000, Bit(InstrumentType::Riser)},
    {"rise", &Instrument::rise, -48, 48, Bit(InstrumentType::Riser)},
}};

struct EnvelopeSetting {
    const char* key;
    AdsrTimes Instrument::*envelope;
    float AdsrTimes::*field;
    float lowest, highest;
    uint32_t types;
};

const std::array<EnvelopeSetting, 8> EnvelopeSettings = {{
    {"attack", &Instrument::amp, &AdsrTimes::attack, 0, 10, Bit(InstrumentType::Synth)},
    {"decay", &Instrument::amp, &AdsrTimes::decay, 0.001f, 10, Drums | Bit(InstrumentType::Synth)},
    {"sustain", &Instrument::amp, &AdsrTimes::sustain, 0, 1, Bit(InstrumentType::Synth)},
    {"release", &Instrument::amp, &AdsrTimes::release, 0.001f, 10, Tonal},
    {"f-attack", &Instrument::filterEnv, &AdsrTimes::attack, 0, 10, Bit(InstrumentType::Synth)},
    {"f-decay", &Instrument::filterEnv, &AdsrTimes::decay, 0.001f, 10, Bit(InstrumentType::Synth)},
    {"f-sustain", &Instrument::filterEnv, &AdsrTimes::sustain, 0, 1, Bit(InstrumentType::Synth)},
    {"f-release", &Instrument::filterEnv, &AdsrTimes::release, 0.001f, 10, Bit(InstrumentType::Synth)},
}};

const std::array<std::pair<const char*, InstrumentType>, 6> TypeNames = {{
    {"synth", InstrumentType::Synth},
    {"kick", InstrumentType::Kick},
    {"snare", InstrumentType::Snare},
    {"clap", InstrumentType::Clap},
    {"hat", InstrumentType::Hat},
    {"riser", InstrumentType::Riser},
}};

const std::array<std::pair<const char*, Waveform>, 4> WaveNames = {{
    {"sine", Waveform::Sine},
    {"saw", Waveform::Saw},
    {"square", Waveform::Square},
    {"triangle", Waveform::Triangle},
}};

void ApplyWave(Instrument& instrument, const std::string& value, int line, const ScoreReader& reader)
{
    for (const auto& [name, wave] : WaveNames) {
        if (value == name) {
            instrument.wave = wave;
            return;
        }
    }
    reader.Fail(line, Quoted(value) + " is not a waveform (sine, saw, square, triangle)");
}

void Refuse(const Instrument& instrument, const std::string& key, int line, const ScoreReader& reader)
{
    reader.Fail(line, "unknown setting " + Quoted(key) + " for a " + InstrumentTypeName(instrument.type) + " instrument");
}

} // namespace

Instrument MakeInstrument(const std::string& name, InstrumentType type, int line)
{
    Instrument instrument;
    instrument.name = name;
    instrument.type = type;
    instrument.line = line;
    switch (type) {
    case InstrumentType::Synth:
        break;
    case InstrumentType::Kick:
        instrument.amp.decay = 0.45f;
        break;
    case InstrumentType::Snare:
        instrument.pitch = 190.0f;
        instrument.cutoff = 9000.0f;
        instrument.amp.decay = 0.2f;
        break;
    case InstrumentType::Clap:
        instrument.cutoff = 1300.0f;
        instrument.resonance = 0.3f;
        instrument.amp.decay = 0.25f;
        break;
    case InstrumentType::Hat:
        instrument.cutoff = 7500.0f;
        instrument.amp.decay = 0.06f;
        break;
    case InstrumentType::Riser:
        instrument.cutoff = 300.0f;
        instrument.noise = 0.7f;
        instrument.amp.release = 0.1f;
        break;
    }
    return instrument;
}

std::optional<InstrumentType> InstrumentTypeNamed(const std::string& word)
{
    for (const auto& [name, type] : TypeNames) {
        if (word == name)
            return type;
    }
    return std::nullopt;
}

const char* InstrumentTypeName(InstrumentType type)
{
    for (const auto& [name, candidate] : TypeNames) {
        if (candidate == type)
            return name;
    }
    return "?";
}

void ApplyInstrumentSetting(Instrument& instrument, const std::string& key, const std::string& value, int line,
                            const ScoreReader& reader)
{
    const uint32_t type = Bit(instrument.type);
    if (key == "wave") {
        if (!(Tonal & type))
            Refuse(instrument, key, line, reader);
        ApplyWave(instrument, value, line, reader);
        return;
    }
    for (const Setting& setting : Settings) {
        if (key != setting.key)
            continue;
        if (!(setting.types & type))
            Refuse(instrument, key, line, reader);
        float number = key == "gain" ? reader.Decibels(line, key, value, setting.lowest, setting.highest)
                                     : static_cast<float>(reader.NumberIn(line, key, value, setting.lowest, setting.highest));
        if (key == "poles" && number != 2.0f && number != 4.0f)
            reader.Fail(line, "poles must be 2 or 4, not " + value);
        if (key == "unison")
            number = static_cast<float>(reader.WholeNumberIn(line, key, value, 1, 9));
        instrument.*setting.field = number;
        return;
    }
    for (const EnvelopeSetting& setting : EnvelopeSettings) {
        if (key != setting.key)
            continue;
        if (!(setting.types & type))
            Refuse(instrument, key, line, reader);
        (instrument.*setting.envelope).*setting.field =
            static_cast<float>(reader.NumberIn(line, key, value, setting.lowest, setting.highest));
        return;
    }
    Refuse(instrument, key, line, reader);
}

} // namespace synth
