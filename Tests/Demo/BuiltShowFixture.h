// The build's own show: its basefile.dat in the test's working directory and the player's assembly
// opened over it on the device a test chooses.
#pragma once

#include "Support/ShowFixture.h"

#include "Demo/Scenes/ScrollerScene.h"
#include "Demo/ShowAssembly.h"

#include <filesystem>
#include <memory>
#include <string>

class BuiltShowFixture : public ShowFixture {
protected:
    void SetUp() override
    {
        ShowFixture::SetUp();
        std::filesystem::copy_file(QL_SHOW_ARCHIVE, directory / "basefile.dat");
    }

    void TearDown() override
    {
        framework.reset();
        ShowFixture::TearDown();
    }

    // The show at size ("WxH") on the Direct3D the creator makes.
    void Open(const std::string& size, Direct3DCreator createDirect3D)
    {
        framework = OpenShow("--nosetup --windowed --size " + size, std::move(createDirect3D));
    }

    std::unique_ptr<DXFramework> framework;
};
