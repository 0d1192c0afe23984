#include "Framework/ModuleHandler/ModuleHandler.h"

#include <gtest/gtest.h>

namespace {

class LoggingModule : public DXModule {
public:
    LoggingModule(const std::string& name, std::vector<std::string>& log, int* destroyed = nullptr)
        : DXModule(name), log(log), destroyed(destroyed)
    {
    }
    ~LoggingModule() override
    {
        if (destroyed)
            ++*destroyed;
    }
    void Load() override { log.push_back("Load " + GetName()); }
    void Release() override { log.push_back("Release " + GetName()); }

private:
    std::vector<std::string>& log;
    int* destroyed;
};

} // namespace

TEST(ModuleHandlerTest, LoaderBarLoadsFirstThenNameOrder)
{
    ModuleHandler handler;
    std::vector<std::string> log;
    for (const char* name : {"Zeta", "LoaderBar", "Alpha", "alpha"})
        handler.AddModule(std::make_unique<LoggingModule>(name, log));
    handler.LoadAll();
    handler.ReleaseAll();
    EXPECT_EQ(log, (std::vector<std::string>{"Load LoaderBar", "Load Alpha", "Load Zeta", "Load alpha",
                                             "Release Alpha", "Release LoaderBar", "Release Zeta", "Release alpha"}));
}

TEST(ModuleHandlerTest, SecondModuleOfANameIsRefusedAndDestroyed)
{
    // Declared before the handler: its teardown destroys the kept module, which counts here.
    std::vector<std::string> log;
    int destroyed = 0;
    ModuleHandler handler;
    handler.AddModule(std::make_unique<LoggingModule>("EasiestFilterEver", log, &destroyed));
    DXModule* first = &handler.GetModule("EasiestFilterEver");
    handler.AddModule(std::make_unique<LoggingModule>("EasiestFilterEver", log, &destroyed));
    EXPECT_EQ(&handler.GetModule("EasiestFilterEver"), first);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(handler.Modules().size(), 1u);
}

TEST(ModuleHandlerTest, UnknownModuleAndBaseDrawAreErrors)
{
    ModuleHandler handler;
    try {
        handler.GetModule("PostFX");
        FAIL() << "no exception";
    } catch (const FrameworkEx& e) {
        EXPECT_EQ(e.message, "[ModuleHandler::GetModule]: No module named \"PostFX\" is registered");
    }
    DXModule plain("plain");
    try {
        plain.Draw();
        FAIL() << "no exception";
    } catch (const FrameworkEx& e) {
        EXPECT_EQ(e.message, "[virtual void DXModule::Draw()] Draw method not implemented");
    }
}

TEST(ModuleHandlerTest, TeardownDeletesEveryModule)
{
    std::vector<std::string> log;
    int destroyed = 0;
    {
        ModuleHandler handler;
        handler.AddModule(std::make_unique<LoggingModule>("a", log, &destroyed));
        handler.AddModule(std::make_unique<LoggingModule>("b", log, &destroyed));
        EXPECT_THROW(ModuleHandler(), FrameworkEx);
    }
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(ModuleHandler::Instance(), nullptr);
}
