// The settings an instrument block may hold, per instrument type, with their ranges.
#pragma once

#include "Score/Score.h"
#include "Score/ScoreLines.h"

#include <optional>
#include <string>

namespace synth {

std::optional<InstrumentType> InstrumentTypeNamed(const std::string& word);
const char* InstrumentTypeName(InstrumentType type);

// A new instrument with the defaults that suit its type (a hat's filter is a high-pass in the
// treble, a kick decays in under half a second, ...).
Instrument MakeInstrument(const std::string& name, InstrumentType type, int line);

// Sets one "key value" of an instrument block, or fails naming the line.
void ApplyInstrumentSetting(Instrument& instrument, const std::string& key, const std::string& value, int line,
                            const ScoreReader& reader);

} // namespace synth
