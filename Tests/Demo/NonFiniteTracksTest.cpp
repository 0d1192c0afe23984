// Every scene of the show in its assembly on the Recorder, with every sync track the show reads
// holding NaN, an infinity or 1e30 from its first row: each scene plays in its turn and its
// frames run. Under the sanitizers (scripts/sanitize) no value reaches an undefined conversion.
#include "Demo/ShowScenesFixture.h"

#include "Framework/SceneHandler/SceneHandler.h"
#include "sync/device.h"

#include <cmath>
#include <limits>
#include <set>

class NonFiniteTracksTest : public ShowScenesFixture {
protected:
    // The tracks that the show's scenes and modules asked for while they were assembled.
    std::vector<std::string> TrackNames() const
    {
        std::vector<std::string> names;
        for (const auto& track : dynamic_cast<SyncFilePlayer&>(*framework->syncDevice).tracks.tracks)
            names.push_back(track->name);
        return names;
    }
};

TEST_F(NonFiniteTracksTest, EverySceneRunsWithEveryTrackNaNInfiniteOrHuge)
{
    Assemble();
    const std::vector<std::string> names = TrackNames();
    ASSERT_GT(names.size(), 10u);

    constexpr float inf = std::numeric_limits<float>::infinity();
    for (const float value : {std::numeric_limits<float>::quiet_NaN(), inf, -inf, 1e30f}) {
        framework.reset();
        ArchiveEntries replaced;
        for (const std::string& name : names)
            replaced["Data\\sync_" + name + ".track"] = Constant(value);
        Assemble(replaced);
        // A few frames into each scene: its start, and its state after some seconds of the values.
        std::set<std::string> scenes;
        for (const TimelineEntry& entry : SceneHandler::Instance()->GetTimeline().Entries())
            for (const double into : {0.25, 2.0, 6.0}) {
                ASSERT_NO_THROW(Frame(entry.time + into)) << "value " << value << ", second " << entry.time + into;
                EXPECT_EQ(SceneHandler::Instance()->GetCurrentScene()->GetName(), entry.sceneName);
                scenes.insert(entry.sceneName);
            }
        EXPECT_EQ(scenes.size(), 9u) << "value " << value;
    }
}
