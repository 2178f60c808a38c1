// The demo machine's documented registry entries, judged by the registry engine: every broken entry is
// found in its category and nothing else is, so the documentation says exactly what a scan shows.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/Text.h"
#include "platform/sim/DemoMachine.h"
#include "scan/RegistryPaths.h"
#include "scanners/RegistryScanRun.h"
#include "support/TestMachine.h"

namespace brisko::scanners {
namespace {

using platform::sim::DemoEntry;
using platform::sim::DemoRegistryEntries;
using platform::sim::DemoVerdict;

bool Names(const scan::CRegistryProblem& problem, const DemoEntry& entry) {
    // Checks that name the unnamed value themselves report "(Default)" for it.
    return problem.keyPath == scan::FullKeyPath(entry.root, entry.key) &&
           scan::ShownValueName(problem.valueName) == scan::ShownValueName(std::string(entry.name));
}

std::string Describe(const DemoEntry& entry) {
    return scan::FullKeyPath(entry.root, entry.key) + " [" + std::string(entry.name) +
           "] = " + std::string(entry.data);
}

class DemoMachineTest : public ::testing::Test {
protected:
    void SetUp() override { run_.Scan(); }

    test::TestMachine machine_{"demo"};
    // Every category: those without checks yet report nothing.
    regtest::RegistryRun run_{*machine_, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
};

TEST_F(DemoMachineTest, ScanFindsEachBrokenEntryInItsCategoryAndNoSoundOne) {
    // Nothing is excluded in this run, so the entries the exclusion lists would drop are found too: the
    // engine itself judges them broken.
    for (const DemoEntry& entry : DemoRegistryEntries()) {
        int matches = 0;
        for (const auto& problem : run_.Found()) {
            if (!Names(*problem, entry)) continue;
            ++matches;
            EXPECT_EQ(problem->category, entry.category) << Describe(entry);
        }
        int expected = entry.verdict == DemoVerdict::kHealthy ? 0 : 1;
        EXPECT_EQ(matches, expected) << Describe(entry);
    }
    for (const auto& problem : run_.Found()) {
        bool documented = false;
        for (const DemoEntry& entry : DemoRegistryEntries())
            documented = documented || Names(*problem, entry);
        EXPECT_TRUE(documented) << "undocumented finding: " << problem->keyPath << " [" << problem->valueName
                                << "] = " << problem->data;
    }
}

TEST_F(DemoMachineTest, ExcludedEntriesMatchTheListEntryNamed) {
    for (const DemoEntry& entry : DemoRegistryEntries()) {
        if (entry.verdict != DemoVerdict::kExcluded) continue;
        std::string keyText =
            platform::FoldCase(scan::FullKeyPath(entry.root, entry.key) + "/" + std::string(entry.name));
        std::string data = platform::FoldCase(entry.data);
        std::string listEntry = platform::FoldCase(entry.excludedBy);
        ASSERT_FALSE(listEntry.empty()) << Describe(entry);
        EXPECT_TRUE(keyText.find(listEntry) != std::string::npos || data.find(listEntry) != std::string::npos)
            << Describe(entry);
    }
}

TEST(DemoMachineDocs, EveryEntryIsDocumented) {
    std::ifstream file(std::string(BRISKO_TEST_DATA) + "/../../docs/demo-machine.md");
    ASSERT_TRUE(file) << "docs/demo-machine.md";
    std::stringstream text;
    text << file.rdbuf();
    const std::string docs = text.str();
    for (const DemoEntry& entry : DemoRegistryEntries()) {
        std::string_view keyName = entry.key.substr(entry.key.rfind('\\') + 1);
        EXPECT_NE(docs.find(keyName), std::string::npos) << Describe(entry);
        EXPECT_NE(docs.find(entry.name), std::string::npos) << Describe(entry);
        EXPECT_NE(docs.find(entry.data), std::string::npos) << Describe(entry);
    }
}

}  // namespace
}  // namespace brisko::scanners
