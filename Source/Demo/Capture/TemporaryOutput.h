// An output file written under a temporary name beside its final name and renamed onto it only
// once it is complete, so that no half-written file ever stands under the final name and an
// earlier file of that name survives a failure.
#pragma once

#include <filesystem>
#include <string>

class TemporaryOutput {
public:
    explicit TemporaryOutput(std::filesystem::path finalPath);
    // Removes the temporary file unless it was committed.
    ~TemporaryOutput();
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;

    // Where to write.
    const std::string& Path() const { return temporary; }
    // Renames the written file onto the final name; throws FrameworkEx when it cannot.
    void Commit();

private:
    std::filesystem::path finalPath;
    std::string temporary;
    bool committed = false;
};
