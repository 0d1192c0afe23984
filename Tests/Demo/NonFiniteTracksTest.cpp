// Every scene of the show in its assembly on the Recorder, with every sync track the show reads
// holding NaN, an infinity or 1e30 from its first row: each scene plays in its turn and every
// frame runs. Under the sanitizers (scripts/sanitize) no value reaches an undefined conversion.
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
        std::set<std::string> scenes;
        for (double seconds = 0.0; seconds < 135.0; seconds += 1.0) {
            ASSERT_NO_THROW(Frame(seconds)) << "value " << value << ", second " << seconds;
            scenes.insert(SceneHandler::Instance()->GetCurrentScene()->GetName());
        }
        EXPECT_EQ(scenes.size(), 9u) << "value " << value;
    }
}
