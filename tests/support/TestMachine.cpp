#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <string>

#include "platform/sim/MachineBuilder.h"

namespace brisko::test {

namespace {
std::filesystem::path UniqueTempPath(std::string_view stem) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    return std::filesystem::temp_directory_path() /
           (std::string(stem) + std::to_string(seed) + "-" + std::to_string(counter++));
}
}  // namespace

TempFolder::TempFolder() : path_(UniqueTempPath("brisko-test-")) {
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

TestMachine::TestMachine(std::string_view preset) : folder_(UniqueTempPath("brisko-machine-")) {
    std::string error;
    if (!platform::sim::CreateMachine(folder_, preset, error)) {
        ADD_FAILURE() << "cannot create the test machine: " << error;
        std::abort();
    }
    machine_ = platform::sim::SimMachine::Open(folder_, error);
    if (!machine_) {
        ADD_FAILURE() << "cannot open the test machine: " << error;
        std::abort();
    }
}

TestMachine::~TestMachine() {
    machine_.reset();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

void TestMachine::EditConfig(const std::function<void(platform::sim::MachineConfig&)>& change) {
    platform::sim::MachineConfig config = machine_->Config();
    change(config);
    std::string error;
    ASSERT_TRUE(platform::sim::SaveMachineConfig(folder_ / "machine.json", config, error)) << error;
    Reopen();
}

void TestMachine::Reopen() {
    std::string error;
    ASSERT_TRUE(machine_->Save(error)) << error;
    machine_.reset();
    machine_ = platform::sim::SimMachine::Open(folder_, error);
    ASSERT_TRUE(machine_) << error;
}

}  // namespace brisko::test
