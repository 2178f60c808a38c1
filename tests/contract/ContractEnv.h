// The platform contract: one body of tests that states how the platform behaves, run natively against the
// simulated machine and under Wine against the real API. Each backend's main() sets up the environment.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/Machine.h"

namespace brisko::contract {

struct ContractEnv {
    platform::Machine* machine = nullptr;
    // An empty folder for this run, as a Windows path without a trailing backslash ("C:\...\scratch").
    std::string scratchDir;
    // A subkey of HKEY_CURRENT_USER for this run, created empty ("Software\BriskoContract").
    std::string scratchKey;
    bool simulated = true;
};

// Set up by the backend's main before the tests run.
ContractEnv& Env();

inline platform::Machine& M() {
    return *Env().machine;
}

}  // namespace brisko::contract

// A known gap of Wine against Windows: on the real API under Wine the check must fail, on the simulation
// (which follows Windows here) it must hold. When Wine closes the gap the test fails, so the mark cannot
// outlive the gap.
#define BRISKO_TODO_WINE(condition)                                                           \
    do {                                                                                      \
        if (::brisko::contract::Env().simulated) {                                            \
            EXPECT_TRUE(condition);                                                           \
        } else {                                                                              \
            EXPECT_FALSE(condition) << "Wine now does this as Windows does: remove the mark"; \
        }                                                                                     \
    } while (0)
