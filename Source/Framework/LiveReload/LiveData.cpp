#include "Framework/LiveReload/LiveData.h"

#include "Framework/FileSys/FileSys.h"

#include <filesystem>
#include <fstream>

LiveData::LiveData(std::string folder, ReloadHub& hub, std::unique_ptr<FolderWatcher> watcher)
    : folder(std::move(folder)), hub(hub), watcher(std::move(watcher))
{
    ReadBuildProblems();
}

size_t LiveData::Poll(Clock::time_point now)
{
    bool buildProblemsChanged = false;
    for (const std::string& path : watcher->TakeChanges()) {
        if (path == BuildProblemsFile)
            buildProblemsChanged = true;
        else
            pending.insert(FileSys::EntryNameOf(path));
        lastSave = now;
    }
    if (buildProblemsChanged)
        ReadBuildProblems();
    // A frame can take long on a loaded machine: waiting one more to settle would add it.
    if (pending.empty() || (!buildProblemsChanged && now - lastSave < SettleTime))
        return 0;
    const std::set<std::string> changed = std::move(pending);
    pending.clear();
    return hub.Reload(changed);
}

void LiveData::ReadBuildProblems()
{
    std::vector<ReloadProblem> problems;
    std::ifstream file(std::filesystem::path(folder) / BuildProblemsFile);
    for (std::string line; std::getline(file, line);) {
        if (line.empty())
            continue;
        // "path:line: message" as compilers write it; otherwise the whole line is the message.
        ReloadProblem problem{"data build", ReloadHub::LineIn(line), line};
        if (const size_t colon = line.find(':'); colon != std::string::npos && problem.line != 0) {
            problem.file = line.substr(0, colon);
            problem.message = line.substr(line.find(':', colon + 1) + 1);
            if (!problem.message.empty() && problem.message.front() == ' ')
                problem.message.erase(0, 1);
        }
        problems.push_back(std::move(problem));
    }
    hub.SetOutsideProblems("data build", std::move(problems));
}
