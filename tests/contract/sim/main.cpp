// The platform contract against the simulated machine: a fresh Windows 7 machine in a temporary folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

#include "contract/ContractEnv.h"
#include "platform/sim/MachineBuilder.h"
#include "platform/sim/SimMachine.h"

namespace brisko::contract {

namespace {
ContractEnv env;
}

ContractEnv& Env() {
    return env;
}

}  // namespace brisko::contract

int main(int argc, char** argv) {
    using namespace brisko;
    ::testing::InitGoogleTest(&argc, argv);

    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("brisko-contract-" + std::to_string(std::random_device{}()));
    std::string error;
    if (!platform::sim::CreateMachine(folder, "win7", error)) {
        std::fprintf(stderr, "cannot create the test machine: %s\n", error.c_str());
        return 1;
    }
    int result = 1;
    {
        std::unique_ptr<platform::sim::SimMachine> machine = platform::sim::SimMachine::Open(folder, error);
        if (!machine) {
            std::fprintf(stderr, "cannot open the test machine: %s\n", error.c_str());
        } else {
            contract::ContractEnv& env = contract::Env();
            env.machine = machine.get();
            env.simulated = true;
            env.scratchDir = "C:\\Users\\Alice\\AppData\\Local\\Temp\\contract";
            env.scratchKey = "Software\\BriskoContract";
            platform::RegKey key;
            if (machine->files.CreateDirectory(env.scratchDir) != platform::kOk ||
                machine->registry.CreateKey(platform::kCurrentUser, env.scratchKey, platform::kKeyAllAccess,
                                            key) != platform::kOk) {
                std::fprintf(stderr, "cannot prepare the scratch folder and key\n");
            } else {
                result = RUN_ALL_TESTS();
            }
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return result;
}
