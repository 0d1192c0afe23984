// A framework on the Recorder: an archive with a timeline in a fresh working directory, SDL's
// headless video driver, captured message boxes, and a scene that logs what the framework asks of
// it and can end the run after a number of frames.
#pragma once

#include "Framework/DXFramework.h"
#include "Framework/ModuleHandler/DXModule.h"
#include "Framework/SceneHandler/Scene.h"
#include "Platform/Gfx/Recorder/CreateRecorderDirect3D.h"
#include "Platform/Gfx/Recorder/Recorder.h"
#include "Support/ArchiveFixture.h"

#include <memory>
#include <string>
#include <vector>

class LoggingScene : public Scene {
public:
    LoggingScene(const std::string& name, std::vector<std::string>& log, int framesBeforeQuit = -1);

    void Render() override;
    void Activate() override { log.push_back("Activate " + GetName()); }
    // Without a camera there are no frame constants to write.
    void SetFrameConstants() override {}
    void Deactivate() override { log.push_back("Deactivate " + GetName()); }
    void Load() override { log.push_back("Load " + GetName()); }
    void Unload() override { log.push_back("Unload " + GetName()); }
    void Start() override { log.push_back("Start " + GetName()); }

    int framesRendered = 0;
    std::vector<double> renderTimes;

private:
    std::vector<std::string>& log;
    int framesBeforeQuit;
};

class LoggingModule : public DXModule {
public:
    LoggingModule(const std::string& name, std::vector<std::string>& log) : DXModule(name), log(log) {}
    void Load() override { log.push_back("LoadModule " + GetName()); }
    void Release() override { log.push_back("ReleaseModule " + GetName()); }

private:
    std::vector<std::string>& log;
};

// A small compiled effect for the archive entry "OShaders\global.fxo", which device setup loads:
// the shared per-frame values and noise textures, and one technique "Default" of one pass.
std::vector<unsigned char> CompiledGlobalEffect();

class ShowFixture : public ArchiveFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes an archive whose timeline plays the scene "Test" from second 0.
    void MountShow();
    std::unique_ptr<DXFramework> MakeFramework(const std::string& commandLine = "--nosetup");

    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    std::vector<std::string> log;
    std::vector<std::string> boxes;
};
