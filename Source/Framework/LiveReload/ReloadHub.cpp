#include "Framework/LiveReload/ReloadHub.h"

#include <algorithm>
#include <cctype>
#include <ostream>

std::string ReloadProblem::Text() const
{
    return line == 0 ? file + ": " + message : file + ":" + std::to_string(line) + ": " + message;
}

ReloadHub::Subscription::Subscription(Subscription&& other) noexcept
    : watchers(std::move(other.watchers)), id(other.id)
{
    other.watchers.reset();
}

ReloadHub::Subscription& ReloadHub::Subscription::operator=(Subscription&& other) noexcept
{
    if (this != &other) {
        Forget();
        watchers = std::move(other.watchers);
        id = other.id;
        other.watchers.reset();
    }
    return *this;
}

ReloadHub::Subscription::~Subscription()
{
    Forget();
}

void ReloadHub::Subscription::Forget()
{
    if (const auto live = watchers.lock()) {
        live->byId.erase(id);
        // The failure of a loader that is gone no longer stands.
        if (ReloadHub* hub = Instance(); hub && hub->watchers == live)
            hub->failures.erase(id);
    }
    watchers.reset();
}

ReloadHub::ReloadHub(std::ostream& errors)
    : Singleton("ReloadHub"), errors(errors), watchers(std::make_shared<Watchers>())
{
}

ReloadHub::~ReloadHub() = default;

ReloadHub::Subscription ReloadHub::Watch(std::vector<std::string> entries, Action reload)
{
    const uint64_t id = watchers->nextId++;
    watchers->byId.emplace(id, Watcher{std::move(entries), std::move(reload)});
    return Subscription(watchers, id);
}

ReloadHub::Subscription ReloadHub::WatchIfLive(std::vector<std::string> entries, Action reload)
{
    ReloadHub* hub = Instance();
    return hub ? hub->Watch(std::move(entries), std::move(reload)) : Subscription();
}

size_t ReloadHub::Reload(const std::set<std::string>& changed)
{
    // Which to run is settled first: a reload may watch or forget others (a scene file's objects).
    std::vector<std::pair<uint64_t, std::string>> due;
    for (const auto& [id, watcher] : watchers->byId) {
        const auto hit = std::find_if(watcher.entries.begin(), watcher.entries.end(),
                                      [&](const std::string& entry) { return changed.contains(entry); });
        if (hit != watcher.entries.end())
            due.emplace_back(id, *hit);
    }
    size_t ran = 0;
    for (const auto& [id, file] : due) {
        const auto found = watchers->byId.find(id);
        if (found == watchers->byId.end())
            continue;
        // The action is copied: it may end its own subscription while it runs.
        const Action reload = found->second.reload;
        // A reload may watch anew under another id, which clears the old id's failure.
        const bool wasBroken = failures.contains(id);
        ++ran;
        try {
            reload();
            failures.erase(id);
            // Each reload is told, so that the maker sees the save arrive.
            errors << "Reloaded " << file << (wasBroken ? ": fixed" : "") << std::endl;
        } catch (const FrameworkEx& e) {
            Fail(id, file, e.message);
        }
    }
    return ran;
}

void ReloadHub::Fail(uint64_t id, const std::string& file, const std::string& message)
{
    ReloadProblem problem{file, LineIn(message), message};
    errors << "Reload failed, keeping the last good version: " << problem.Text() << std::endl;
    if (watchers->byId.contains(id))
        failures[id] = std::move(problem);
}

std::vector<ReloadProblem> ReloadHub::Problems() const
{
    std::vector<ReloadProblem> problems;
    for (const auto& [source, list] : outsideProblems)
        problems.insert(problems.end(), list.begin(), list.end());
    for (const auto& [id, problem] : failures)
        problems.push_back(problem);
    return problems;
}

void ReloadHub::SetOutsideProblems(const std::string& source, std::vector<ReloadProblem> problems)
{
    if (problems.empty()) {
        outsideProblems.erase(source);
        return;
    }
    for (const ReloadProblem& problem : problems)
        errors << problem.Text() << std::endl;
    outsideProblems[source] = std::move(problems);
}

void ReloadHub::ReportSimulationChangeFrom(double seconds)
{
    simulationChange = simulationChange ? std::min(*simulationChange, seconds) : seconds;
}

std::optional<double> ReloadHub::TakeSimulationChange()
{
    return std::exchange(simulationChange, std::nullopt);
}

std::vector<std::string> ReloadHub::OverlayLines(const std::vector<ReloadProblem>& problems, size_t width,
                                                 size_t maxLines)
{
    std::vector<std::string> lines;
    for (const ReloadProblem& problem : problems) {
        const std::string text = problem.Text();
        bool first = true;
        for (size_t start = 0; start < text.size();) {
            const size_t end = std::min(text.find('\n', start), text.size());
            if (end > start)
                lines.push_back(((first ? "" : "  ") + text.substr(start, end - start)).substr(0, width));
            first = false;
            start = end + 1;
        }
    }
    if (lines.size() > maxLines) {
        const size_t more = lines.size() - (maxLines - 1);
        lines.resize(maxLines - 1);
        lines.push_back("(" + std::to_string(more) + " more lines on standard error)");
    }
    return lines;
}

unsigned ReloadHub::LineIn(const std::string& message)
{
    const auto numberAt = [&](size_t at) -> unsigned {
        size_t end = at;
        while (end < message.size() && std::isdigit(static_cast<unsigned char>(message[end])))
            ++end;
        return end == at || end - at > 9 ? 0 : static_cast<unsigned>(std::stoul(message.substr(at, end - at)));
    };
    for (const char* marker : {"line ", "Line ", "Row ", "row "})
        if (const size_t at = message.find(marker); at != std::string::npos)
            if (const unsigned line = numberAt(at + std::char_traits<char>::length(marker)))
                return line;
    // "file:12: message": the first colon that a number and another colon follow.
    for (size_t at = message.find(':'); at != std::string::npos; at = message.find(':', at + 1)) {
        size_t end = at + 1;
        while (end < message.size() && std::isdigit(static_cast<unsigned char>(message[end])))
            ++end;
        if (end > at + 1 && end < message.size() && message[end] == ':')
            return numberAt(at + 1);
    }
    return 0;
}
