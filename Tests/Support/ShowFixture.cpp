#include "Support/ShowFixture.h"

#include "Framework/Noise/NoiseVolume.h"
#include "Framework/Timer/Timer.h"
#include "Platform/Window/MessageBox.h"
#include "Platform/Window/MessagePump.h"

#include <cstdlib>

LoggingScene::LoggingScene(const std::string& name, std::vector<std::string>& log, int framesBeforeQuit)
    : Scene(name), log(log), framesBeforeQuit(framesBeforeQuit)
{
}

void LoggingScene::Render()
{
    renderTimes.push_back(Timer::GetElapsed());
    if (++framesRendered == framesBeforeQuit)
        PostQuitMessage(0);
}

void ShowFixture::SetUp()
{
    ArchiveFixture::SetUp();
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SetMessageBoxPresenter([this](const std::string& caption, const std::string& text) {
        boxes.push_back(caption + "|" + text);
    });
}

void ShowFixture::TearDown()
{
    SetMessageBoxPresenter(nullptr);
    ArchiveFixture::TearDown();
}

void ShowFixture::MountShow()
{
    ArchiveWriter writer;
    writer.Add("Data\\events\\Scenes.txt", Bytes("0 Test\n"));
    // A ready noise volume, so that creating the device resources does not bake one.
    writer.Add("Data\\noise.bin", std::vector<unsigned char>(NoiseVolume::ByteCount, 0x80));
    WriteArchive(writer.Build());
}

std::unique_ptr<DXFramework> ShowFixture::MakeFramework(const std::string& commandLine)
{
    auto framework = std::make_unique<DXFramework>(nullptr, commandLine, "Quiet Lantern",
                                                   RecorderDirect3DCreator(recorder));
    framework->musicEnabled = false;
    return framework;
}
