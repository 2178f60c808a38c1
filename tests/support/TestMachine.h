// A fresh simulated machine in a temporary folder, removed when the test is done.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/sim/SimMachine.h"

namespace brisko::test {

class TestMachine {
public:
    explicit TestMachine(std::string_view preset = "win7");
    ~TestMachine();
    TestMachine(const TestMachine&) = delete;
    TestMachine& operator=(const TestMachine&) = delete;

    platform::sim::SimMachine& operator*() { return *machine_; }
    platform::sim::SimMachine* operator->() { return machine_.get(); }
    const std::filesystem::path& Folder() const { return folder_; }
    // Saves and opens the folder again, as a later run of the program would see it.
    void Reopen();
    // Changes what machine.json says, then reopens the machine.
    void EditConfig(const std::function<void(platform::sim::MachineConfig&)>& change);

private:
    std::filesystem::path folder_;
    std::unique_ptr<platform::sim::SimMachine> machine_;
};

// A temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace brisko::test
