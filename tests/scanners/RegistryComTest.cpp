// The Custom Controls category: COM classes, interfaces, type libraries and applications registered under
// HKEY_CLASSES_ROOT, judged on a simulated machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "scan/RegistryPaths.h"
#include "scanners/RegistryScanRun.h"
#include "support/TestMachine.h"

namespace brisko::scanners {
namespace {

using namespace platform;
using regtest::PutFile;
using regtest::PutText;
using regtest::RegistryRun;
using scan::REG_CUSTOM_CONTROLS;

constexpr std::string_view kRoot = "HKEY_CLASSES_ROOT\\";
constexpr const char* kGone = "C:\\Gone\\gone.dll";

// (key path below HKEY_CLASSES_ROOT, value name, data) of each finding, sorted.
using Finding = std::tuple<std::string, std::string, std::string>;

std::vector<Finding> Findings(const RegistryRun& run) {
    std::vector<Finding> found;
    for (const auto& problem : run.Found()) {
        EXPECT_EQ(problem->category, REG_CUSTOM_CONTROLS);
        EXPECT_EQ(problem->engine, scan::kRegistryEngine);
        EXPECT_TRUE(problem->keyPath.starts_with(kRoot)) << problem->keyPath;
        found.emplace_back(problem->keyPath.substr(kRoot.size()), problem->valueName, problem->data);
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<Finding> Sorted(std::vector<Finding> findings) {
    std::sort(findings.begin(), findings.end());
    return findings;
}

std::vector<Finding> ScanCustomControls(test::TestMachine& machine) {
    RegistryRun run(*machine, {REG_CUSTOM_CONTROLS});
    run.Scan();
    return Findings(run);
}

struct WalkCase {
    const char* key;  // below HKEY_CLASSES_ROOT; its unnamed value names a missing library
    int reports;      // how often the value is listed
};

TEST(RegistryCom, TheClassWalkLeavesOutAssociationsAndMirrorsAndListsEachClassValueOnce) {
    const WalkCase cases[] = {
        {"Vendor.Doc\\DefaultIcon", 1},
        {".txt\\ShellNew", 0},       // extensions and all below them are another category's
        {"*\\shellex\\Handler", 0},  // so are "*" and "%" keys, at any depth
        {"%Vendor\\Inside", 0},
        {"Vendor.Doc\\*Handler\\Inside", 0},
        {"Vendor.Doc\\%Marker", 0},
        {"Wow6432Node\\Vendor.Doc\\DefaultIcon", 1},  // the mirror at the top is walked ...
        {"Vendor.Doc\\Wow6432Node", 1},               // ... a key named so further in has its values read
        {"Vendor.Doc\\Wow6432Node\\Below", 0},        // ... but nothing below it
        {"Vendor.Doc\\CLSID", 1},
        {"Vendor.Doc\\CLSID\\Below", 0},  // nothing below a nested CLSID key
        {"CLSID\\{00000000-0000-0000-0000-0000000000A1}\\InprocServer32", 1},  // walked twice, listed once
        {"CLSID\\{00000000-0000-0000-0000-0000000000A1}\\Sub\\Deeper", 1},
    };
    test::TestMachine machine;
    for (const WalkCase& c : cases)
        PutText(*machine, kClassesRoot, c.key, "", kGone);

    std::vector<Finding> expected;
    for (const WalkCase& c : cases)
        for (int i = 0; i < c.reports; ++i)
            expected.emplace_back(c.key, "", kGone);
    EXPECT_EQ(ScanCustomControls(machine), Sorted(expected));
}

// The simulated registry keeps names within Windows' limit, so this one says that the names that begin with
// the text it is given do not fit any buffer; everything else is the simulated registry's.
class OverlongNames final : public Registry {
public:
    OverlongNames(Registry& inner, std::string_view overlong) : inner_(inner), overlong_(overlong) {}
    Status OpenKey(HKey parent, std::string_view subKey, Access access, RegKey& result) override {
        return inner_.OpenKey(parent, subKey, access, result);
    }
    Status CreateKey(HKey parent, std::string_view subKey, Access access, RegKey& result,
                     bool* created) override {
        return inner_.CreateKey(parent, subKey, access, result, created);
    }
    Status CloseKey(HKey key) override { return inner_.CloseKey(key); }
    Status EnumKey(HKey key, std::uint32_t index, std::uint32_t nameCapacity, std::string& name) override {
        std::string found;
        Status status = inner_.EnumKey(key, index, nameCapacity, found);
        if (status == kOk && found.starts_with(overlong_)) return kMoreData;
        if (status == kOk) name = found;
        return status;
    }
    Status EnumValue(HKey key, std::uint32_t index, const EnumLimits& limits, RegValue& value,
                     bool wantData) override {
        return inner_.EnumValue(key, index, limits, value, wantData);
    }
    Status QueryValue(HKey key, std::string_view name, std::uint32_t capacity, ValueType& type, Bytes& data,
                      std::uint32_t* needed) override {
        return inner_.QueryValue(key, name, capacity, type, data, needed);
    }
    Status SetValue(HKey key, std::string_view name, ValueType type,
                    std::span<const std::uint8_t> data) override {
        return inner_.SetValue(key, name, type, data);
    }
    Status DeleteValue(HKey key, std::string_view name) override { return inner_.DeleteValue(key, name); }
    Status DeleteKey(HKey parent, std::string_view subKey) override {
        return inner_.DeleteKey(parent, subKey);
    }
    Status DeleteTree(HKey parent, std::string_view subKey) override {
        return inner_.DeleteTree(parent, subKey);
    }
    Status QueryInfoKey(HKey key, KeyInfo& info) override { return inner_.QueryInfoKey(key, info); }

private:
    Registry& inner_;
    std::string overlong_;
};

class MachineWithRegistry final : public Machine {
public:
    MachineWithRegistry(Machine& machine, Registry& registry)
        : Machine(registry, machine.files, machine.shell, machine.system, machine.clock) {}
};

TEST(RegistryCom, ClassesAfterANameTooLongForTheBufferAreStillChecked) {
    test::TestMachine machine;
    PutText(*machine, kClassesRoot, "CLSID\\{A-LONG}\\InprocServer32", "", kGone);
    PutText(*machine, kClassesRoot, "CLSID\\{B}\\InprocServer32", "", kGone);
    OverlongNames registry(machine->registry, "{A-LONG}");
    MachineWithRegistry overlong(*machine, registry);

    RegistryRun run(overlong, {REG_CUSTOM_CONTROLS});
    run.Scan();
    EXPECT_EQ(Findings(run), (std::vector<Finding>{{"CLSID\\{B}\\InprocServer32", "", kGone}}));
}

struct TypeLibCase {
    const char* locale;    // the subkey of the version key
    const char* data;      // the unnamed value of locale\win32; null: no win32 key
    const char* name;      // the value name it is listed under; null: not listed
    const char* reported;  // the data listed
};

TEST(RegistryCom, TypeLibraryPathsAreJudgedOnlyAsFullPathsOnFixedDrives) {
    const TypeLibCase cases[] = {
        {"0", "C:\\Gone\\old.tlb", "", "C:\\Gone\\old.tlb"},
        {"9", "C:\\Gone\\old.dll\\2", "", "C:\\Gone\\old.dll\\2"},
        // Only the type library check sees through a registration command.
        {"409", "regsvr32 \"C:\\Gone\\reg.dll\"", "(Default)", "C:\\Gone\\reg.dll"},
        {"407", "C:\\Libs\\here.tlb", nullptr, nullptr},
        {"410", "gone.tlb", nullptr, nullptr},            // a bare name is never judged
        {"411", "D:\\Libs\\disc.tlb", nullptr, nullptr},  // optical drive
        {"412", "Q:\\Libs\\nodrive.tlb", nullptr, nullptr},
        {"FLAGS", nullptr, nullptr, nullptr},
    };
    test::TestMachine machine;
    PutFile(*machine, "C:\\Libs\\here.tlb");
    const std::string version = "TypeLib\\{00000000-0000-0000-0000-0000000000B1}\\1.0";
    PutText(*machine, kClassesRoot, version + "\\HELPDIR", "", "C:\\Gone\\Help");
    std::vector<Finding> expected = {{version + "\\HELPDIR", "", "C:\\Gone\\Help"}};
    for (const TypeLibCase& c : cases) {
        if (c.data == nullptr) {
            PutText(*machine, kClassesRoot, version + "\\" + c.locale, "", "0");
            continue;
        }
        PutText(*machine, kClassesRoot, version + "\\" + c.locale + "\\win32", "", c.data);
        if (c.name != nullptr)
            expected.emplace_back(version + "\\" + c.locale + "\\win32", c.name, c.reported);
    }

    RegistryRun run(*machine, {REG_CUSTOM_CONTROLS});
    run.Scan();
    EXPECT_EQ(Findings(run), Sorted(expected));
    std::vector<std::string> items;
    for (const auto& message : run.window.messages)
        if (message.id == scan::kMsgCurrentItem && message.text.starts_with(kRoot))
            items.push_back(message.text);
    const std::string versionText = std::string(kRoot) + version + "\\";
    for (const std::string& item : {versionText, versionText + "0\\win32", versionText + "FLAGS\\win32"})
        EXPECT_NE(std::find(items.begin(), items.end(), item), items.end()) << item;
}

struct CommandCase {
    const char* application;
    const char* command;
    const char* name;  // the value name it is listed under; null: not listed
};

TEST(RegistryCom, ApplicationCommandsNamingMissingProgramsAreReported) {
    const CommandCase cases[] = {
        {"old.exe", "\"C:\\Gone\\old.exe\" \"%1\"", ""},
        {"here.exe", "\"C:\\Tools\\here.exe\" \"%1\"", nullptr},
        {"viewer.dll", "C:\\Windows\\system32\\rundll32.exe C:\\Gone\\viewer.dll,Show %1", nullptr},
        {"bare.exe", "bare.exe \"%1\"", nullptr},  // no drive path: nothing to judge
    };
    test::TestMachine machine;
    PutFile(*machine, "C:\\Tools\\here.exe");
    std::vector<Finding> expected;
    for (const CommandCase& c : cases) {
        std::string key = std::string("Applications\\") + c.application + "\\shell\\open\\command";
        PutText(*machine, kClassesRoot, key, "", c.command);
        if (c.name != nullptr) expected.emplace_back(key, c.name, c.command);
    }
    EXPECT_EQ(ScanCustomControls(machine), Sorted(expected));
}

TEST(RegistryCom, InterfacesAndProgIdsNamingUnregisteredClassesAreReported) {
    test::TestMachine machine;
    const std::string present = "{00000000-0000-0000-0000-0000000000C1}";
    const std::string locked = "{00000000-0000-0000-0000-0000000000C2}";
    const std::string missing = "{00000000-0000-0000-0000-0000000000C3}";
    PutText(*machine, kClassesRoot, "CLSID\\" + present, "", "Present");
    PutText(*machine, kClassesRoot, "CLSID\\" + locked, "", "Locked");
    const struct {
        std::string key;
        std::string classId;
        bool reported;
    } cases[] = {
        {"Interface\\{I1}\\ProxyStubClsid32", missing, true},
        {"Interface\\{I2}\\ProxyStubClsid32", present, false},
        {"Interface\\{I3}\\ProxyStubClsid32", locked, false},  // there, but not ours to open
        {"Interface\\{I4}\\ProxyStubClsid32", "not a class", false},
        {"Interface\\.I5\\ProxyStubClsid32", missing, false},
        {"Gone.Document\\CLSID", missing, true},
        {"Good.Document\\CLSID", present, false},
        {"Versioned.Document\\CLSID", missing, false},  // a second subkey: not examined
    };
    for (const auto& c : cases)
        PutText(*machine, kClassesRoot, c.key, "", c.classId);
    PutText(*machine, kClassesRoot, "Versioned.Document\\CurVer", "", "Versioned.Document.2");
    machine.EditConfig([&](sim::MachineConfig& config) {
        config.deniedKeys.push_back("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\" + locked);
    });

    std::vector<Finding> expected;
    for (const auto& c : cases)
        if (c.reported) expected.emplace_back(c.key, "(Default)", c.classId);
    EXPECT_EQ(ScanCustomControls(machine), Sorted(expected));
}

}  // namespace
}  // namespace brisko::scanners
