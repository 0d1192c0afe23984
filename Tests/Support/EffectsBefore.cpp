#include "Support/EffectsBefore.h"

#include "Demo/Scenes/ScrollerScene.h"
#include "Framework/FileSys/ArchiveWriter.h"
#include "Framework/FileSys/FileSys.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Modules/ParticleDance/ParticleDance.h"
#include "Modules/PostEffects/PostEffects.h"
#include "Platform/Fx/CompiledEffect.h"
#include "Platform/Fx/EffectParser.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

std::string CompiledEntry(const std::string& file)
{
    return "OShaders\\" + file + "o";
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<unsigned char> Entry(const std::string& archivePath, const std::map<std::string, FileSys::Entry>& directory,
                                 const std::string& name)
{
    const auto found = directory.find(name);
    if (found == directory.end())
        throw std::runtime_error(archivePath + " has no entry " + name);
    std::vector<unsigned char> bytes(found->second.unpackedSize);
    FileSys::InflateEntry(archivePath, name, found->second, bytes.data());
    return bytes;
}

// Each of earlier in place of the one of own of its name; common.fxh's full-screen quad is the
// same in both.
template <class Item>
void PutInPlace(std::vector<Item>& own, const std::vector<Item>& earlier, const std::string& missing)
{
    for (const Item& item : earlier) {
        if (item.name == "FullScreen")
            continue;
        const auto mine =
            std::find_if(own.begin(), own.end(), [&](const Item& candidate) { return candidate.name == item.name; });
        if (mine == own.end())
            throw std::runtime_error(missing + item.name);
        *mine = item;
    }
}

std::vector<unsigned char> EarlierCode(const EarlierEffect& which, const std::vector<unsigned char>& compiled,
                                       const std::string& commonHeader)
{
    fx::EffectDescription effect = fx::LoadCompiledEffect(which.file, compiled);
    const auto include = [&](const std::string& name) -> std::optional<std::string> {
        if (name == "common.fxh")
            return commonHeader;
        return std::nullopt;
    };
    const std::string earlierPath = std::string(QL_SOURCE_DIR "Tests/Support/") + which.earlierFile;
    const fx::EffectDescription earlier = fx::ParseEffect(which.earlierFile, ReadText(earlierPath), include);
    const std::string where = earlierPath + ": the show's " + which.file + " has no ";
    PutInPlace(effect.shaders, earlier.shaders, where + "block ");
    PutInPlace(effect.samplers, earlier.samplers, where + "sampler ");
    return fx::SaveCompiledEffect(effect);
}

} // namespace

const std::vector<EarlierEffect>& EarlierEffects()
{
    static const std::vector<EarlierEffect> effects{{"postfx", "PostEffects.fx", "PostEffectsBefore.fx"},
                                                    {"Tindrevik", "Tindrevik.fx", "TindrevikBefore.fx"},
                                                    {"liquid", "LiquidParticles.fx", "LiquidParticlesBefore.fx"}};
    return effects;
}

std::vector<unsigned char> ShowArchiveWithEffectsBefore(const std::string& archivePath, EarlierPlace place)
{
    const std::map<std::string, FileSys::Entry> directory = FileSys::ReadDirectory(archivePath);
    const std::vector<unsigned char> common = Entry(archivePath, directory, "Shaders\\common.fxh");
    ArchiveWriter writer;
    std::vector<std::string> added;
    for (const EarlierEffect& effect : EarlierEffects()) {
        const std::string entry = CompiledEntry(place == EarlierPlace::InPlace ? effect.file : effect.earlierFile);
        writer.Add(entry, EarlierCode(effect, Entry(archivePath, directory, CompiledEntry(effect.file)),
                                      std::string(common.begin(), common.end())));
        added.push_back(entry);
    }
    writer.AddEntriesOf(archivePath, {added.begin(), added.end()});
    return writer.Build();
}

void UseEarlierDraws(bool earlier)
{
    PostEffects& post = ModuleHandler::Instance()->GetModuleAs<PostEffects>(PostEffects::ModuleName);
    post.blurPlanner = earlier ? postfx::BlurRounds : postfx::PlanBlur;
    post.depthOfFieldPlanner = earlier ? postfx::DepthOfFieldRounds : postfx::PlanDepthOfField;
    post.lightsPerPass = earlier ? 1 : PostEffects::MostLightsAPass;
    post.occlusionAtHalfSize = !earlier;
    post.bloomLevelsGathered = !earlier;
    post.velocityAtHalfSize = !earlier;
    ModuleHandler::Instance()->GetModuleAs<ParticleDance>("ParticleDance").dropsInOneDraw = !earlier;

    const auto& scenes = SceneHandler::Instance()->Scenes();
    const auto found = scenes.find(ScrollerScene::SceneName);
    if (found == scenes.end())
        return;
    auto& scroller = static_cast<ScrollerScene&>(*found->second);
    scroller.solidsThroughBackBuffer = earlier;
    scroller.environmentEdge = earlier ? 512 : ScrollerScene::EnvironmentEdge;
    // A scroller already playing takes its environment cube of the new size at once.
    if (SceneHandler::Instance()->GetCurrentScene() == &scroller) {
        scroller.Deactivate();
        scroller.Activate();
    }
}
