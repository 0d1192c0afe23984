// Who reloads what when the show's files change under a running show. Loaders watch the entries
// their result was made from, with an action that loads them again; the hub runs each action once
// for a set of changed entries. An action that fails (a FrameworkEx) must leave its last good
// version in place: the hub keeps its failure (file, line where known, message) until the action
// succeeds. Every reload and every failure is told on the stream it is given (standard error). Device-free, so the core's loaders can watch too; only a
// maker's run makes a hub, and without one nothing is watched.
#pragma once

#include "Framework/Singleton.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct ReloadProblem {
    std::string file;
    unsigned line = 0; // 0: not known
    std::string message;

    // "file:line: message", or "file: message" without a line.
    std::string Text() const;
};

class ReloadHub : public Singleton<ReloadHub> {
    struct Watchers;

public:
    using Action = std::function<void()>;

    // Forgets its action when it goes, or does nothing once the hub has gone.
    class Subscription {
    public:
        Subscription() = default;
        Subscription(Subscription&& other) noexcept;
        Subscription& operator=(Subscription&& other) noexcept;
        ~Subscription();
        bool Active() const { return !watchers.expired(); }

    private:
        friend class ReloadHub;
        Subscription(std::weak_ptr<Watchers> watchers, uint64_t id) : watchers(std::move(watchers)), id(id) {}
        void Forget();
        std::weak_ptr<Watchers> watchers;
        uint64_t id = 0;
    };

    explicit ReloadHub(std::ostream& errors);
    ~ReloadHub();

    // Runs reload when any of entries changes, until the subscription goes.
    [[nodiscard]] Subscription Watch(std::vector<std::string> entries, Action reload);
    // Watch on the hub when there is one; an inactive subscription otherwise.
    [[nodiscard]] static Subscription WatchIfLive(std::vector<std::string> entries, Action reload);

    // Runs every action that watches one of changed once, in the order they were watched, and
    // returns how many ran. An action made or forgotten by another action's reload is left to the
    // next change or skipped.
    size_t Reload(const std::set<std::string>& changed);

    // The failures still standing, oldest first.
    std::vector<ReloadProblem> Problems() const;
    // Kept while the file stays broken, shown with the rest: a failure found outside the show, such as
    // a data build that refused a source. An empty list clears the source's problems.
    void SetOutsideProblems(const std::string& source, std::vector<ReloadProblem> problems);

    // A reload that changes what the simulation does from show second seconds on says so; the frame
    // loop takes the earliest such time (nothing when no reload moved the simulation).
    void ReportSimulationChangeFrom(double seconds);
    std::optional<double> TakeSimulationChange();

    // The problems as short lines for the overlay: a message's own lines indented under its first,
    // each cut at width characters, at most maxLines in all (the last saying how many more).
    static std::vector<std::string> OverlayLines(const std::vector<ReloadProblem>& problems, size_t width, size_t maxLines);

    // The line a message names ("file:12: ...", "line 12", "Row 12"), or 0.
    static unsigned LineIn(const std::string& message);

private:
    struct Watcher {
        std::vector<std::string> entries;
        Action reload;
    };
    struct Watchers {
        std::map<uint64_t, Watcher> byId;
        uint64_t nextId = 1;
    };

    void Fail(uint64_t id, const std::string& file, const std::string& message);

    std::ostream& errors;
    std::shared_ptr<Watchers> watchers;
    std::map<uint64_t, ReloadProblem> failures; // by watcher id, which grows with time
    std::map<std::string, std::vector<ReloadProblem>> outsideProblems;
    std::optional<double> simulationChange;
};
