// Makes the voice that plays one note on an instrument of any type.
#pragma once

#include "Instruments/Voice.h"
#include "Render/Sequencer.h"
#include "Score/Score.h"

#include <memory>

namespace synth {

std::unique_ptr<Voice> MakeVoice(const Instrument& instrument, const NoteEvent& note);

} // namespace synth
