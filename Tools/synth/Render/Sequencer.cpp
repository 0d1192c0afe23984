#include "Render/Sequencer.h"

#include "Dsp/Constants.h"
#include "Score/ScoreLines.h"

#include <algorithm>
#include <cmath>

namespace synth {
namespace {

class PlacementSequencer {
public:
    PlacementSequencer(const Score& score, const Placement& placement, std::vector<NoteEvent>& out)
        : score(score), placement(placement), pattern(score.patterns[placement.pattern]), out(out)
    {
    }

    void Run();

private:
    const Chord& ChordAt(double bar) const;
    std::vector<int> ChordNotes(double bar) const;
    std::vector<int> NotesOf(const Step& step, double bar);
    int NextArpNote(double bar);
    void Release(double bar);

    const Score& score;
    const Placement& placement;
    const Pattern& pattern;
    std::vector<NoteEvent>& out;
    std::vector<size_t> sounding; // indices into out of the notes still held
    double soundingSince = 0.0;
    long arpCounter = 0;
};

const Chord& PlacementSequencer::ChordAt(double bar) const
{
    const int index = std::min(static_cast<int>(std::floor(bar + 1e-9)), score.bars - 1);
    if (!score.harmony[index])
        ScoreReader(score.fileName)
            .Fail(placement.line, "pattern " + Quoted(pattern.name) + " needs a chord in bar " + std::to_string(index) +
                                      ", but the harmony gives none");
    return *score.harmony[index];
}

std::vector<int> PlacementSequencer::ChordNotes(double bar) const
{
    const Chord& chord = ChordAt(bar);
    std::vector<int> notes;
    for (int interval : chord.intervals)
        notes.push_back(PlaceInWindow(chord.root + interval, pattern.window));
    std::sort(notes.begin(), notes.end());
    return notes;
}

int PlacementSequencer::NextArpNote(double bar)
{
    std::vector<int> up;
    for (int octave = 0; octave < pattern.arpOctaves; ++octave) {
        for (int note : ChordNotes(bar))
            up.push_back(note + 12 * octave);
    }
    std::vector<int> cycle = up;
    if (pattern.arp == ArpMode::Down)
        std::reverse(cycle.begin(), cycle.end());
    if (pattern.arp == ArpMode::UpDown && up.size() > 2)
        cycle.insert(cycle.end(), up.rbegin() + 1, up.rend() - 1);
    return cycle[arpCounter++ % cycle.size()];
}

std::vector<int> PlacementSequencer::NotesOf(const Step& step, double bar)
{
    switch (step.kind) {
    case Step::Kind::Note:
        return {step.value};
    case Step::Kind::Root:
        return {PlaceInWindow(ChordAt(bar).root, pattern.window) + step.value};
    case Step::Kind::Chord:
        return ChordNotes(bar);
    case Step::Kind::Hit:
        return {pattern.arp == ArpMode::None ? pattern.window : NextArpNote(bar)};
    case Step::Kind::Rest:
    case Step::Kind::Hold:
        break;
    }
    return {};
}

// Ends the held notes at `bar`; the gate shortens them relative to their written length.
void PlacementSequencer::Release(double bar)
{
    const long from = BarToFrame(score, soundingSince);
    const long length = BarToFrame(score, bar) - from;
    for (size_t index : sounding)
        out[index].end = from + std::max(1L, std::lround(length * pattern.gate));
    sounding.clear();
}

void PlacementSequencer::Run()
{
    const size_t count = pattern.steps.size();
    for (long s = 0;; ++s) {
        const double bar = placement.startBar + static_cast<double>(s) / pattern.stepsPerBar;
        if (bar >= placement.endBar - 1e-9)
            break;
        const Step& step = pattern.steps[s % count];
        if (step.kind == Step::Kind::Hold)
            continue;
        Release(bar);
        for (int note : NotesOf(step, bar)) {
            sounding.push_back(out.size());
            const long start = BarToFrame(score, bar);
            out.push_back({start, start, static_cast<float>(note + placement.transpose),
                           step.velocity * pattern.velocity * placement.velocity});
        }
        soundingSince = bar;
    }
    Release(placement.endBar);
}

} // namespace

long BarToFrame(const Score& score, double bar)
{
    return std::lround(bar * score.SecondsPerBar() * SampleRate);
}

Sequence BuildSequence(const Score& score)
{
    Sequence sequence;
    sequence.frames = BarToFrame(score, score.bars);
    sequence.notes.resize(score.instruments.size());
    for (const Placement& placement : score.arrangement)
        PlacementSequencer(score, placement, sequence.notes[placement.instrument]).Run();
    for (auto& notes : sequence.notes) {
        std::stable_sort(notes.begin(), notes.end(), [](const NoteEvent& a, const NoteEvent& b) {
            return a.start < b.start;
        });
    }
    return sequence;
}

} // namespace synth
