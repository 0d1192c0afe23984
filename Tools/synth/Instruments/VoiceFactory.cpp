#include "Instruments/VoiceFactory.h"

#include "Instruments/ClapVoice.h"
#include "Instruments/HatVoice.h"
#include "Instruments/KickVoice.h"
#include "Instruments/RiserVoice.h"
#include "Instruments/SnareVoice.h"
#include "Instruments/SynthVoice.h"

namespace synth {

std::unique_ptr<Voice> MakeVoice(const Instrument& instrument, const NoteEvent& note)
{
    switch (instrument.type) {
    case InstrumentType::Kick:
        return std::make_unique<KickVoice>(instrument, note.start, note.end, note.velocity);
    case InstrumentType::Snare:
        return std::make_unique<SnareVoice>(instrument, note.start, note.end, note.velocity);
    case InstrumentType::Clap:
        return std::make_unique<ClapVoice>(instrument, note.start, note.end, note.velocity);
    case InstrumentType::Hat:
        return std::make_unique<HatVoice>(instrument, note.start, note.end, note.velocity);
    case InstrumentType::Riser:
        return std::make_unique<RiserVoice>(instrument, note.start, note.end, note.note, note.velocity);
    case InstrumentType::Synth:
        break;
    }
    return std::make_unique<SynthVoice>(instrument, note.start, note.end, note.note, note.velocity);
}

} // namespace synth
