// The simulated registry's own rules: its hive files, denied keys, the merged classes view and saving.
#include "platform/sim/SimRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "platform/Text.h"
#include "support/TestMachine.h"

namespace brisko::platform::sim {
namespace {

Bytes Sz(std::string_view text) {
    Bytes data(text.begin(), text.end());
    data.push_back(0);
    return data;
}

void WriteFile(const std::filesystem::path& file, std::string_view text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

constexpr std::string_view kHive =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n"
    "\"Path\"=\"C:\\\\Program Files\\\\Vendor\\\\app.exe\"\r\n"
    "\"Count\"=dword:0000002a\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Sub]\r\n"
    "@=\"default\"\r\n";

class SimRegistryFiles : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::filesystem::path Registry() const { return folder.Path() / "registry"; }
};

TEST_F(SimRegistryFiles, LoadsHivesAndHandsOverAnsiData) {
    WriteFile(Registry() / "HKLM.reg", kHive);
    SimRegistry reg;
    std::string error;
    ASSERT_TRUE(reg.Load(Registry(), {}, error)) << error;
    RegKey key;
    ASSERT_EQ(reg.OpenKey(kLocalMachine, "software\\vendor", kKeyRead, key), kOk);
    ValueType type = 0;
    Bytes data;
    ASSERT_EQ(reg.QueryValue(key.Get(), "Path", 1024, type, data), kOk);
    EXPECT_EQ(data, Sz("C:\\Program Files\\Vendor\\app.exe"));
    ASSERT_EQ(reg.QueryValue(key.Get(), "Count", 1024, type, data), kOk);
    EXPECT_EQ(data, (Bytes{42, 0, 0, 0}));
    EXPECT_EQ(type, kRegDword);
}

TEST_F(SimRegistryFiles, AMalformedHiveNamesFileAndLineAndLoadsNothing) {
    WriteFile(Registry() / "HKLM.reg", kHive);
    SimRegistry reg;
    std::string error;
    ASSERT_TRUE(reg.Load(Registry(), {}, error)) << error;

    WriteFile(Registry() / "HKCU.reg",
              "Windows Registry Editor Version "
              "5.00\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\"bad\"=dword:123456789\r\n");
    EXPECT_FALSE(reg.Load(Registry(), {}, error));
    EXPECT_NE(error.find("HKCU.reg:4"), std::string::npos) << error;
    // What was loaded before stays as it was.
    RegKey key;
    EXPECT_EQ(reg.OpenKey(kLocalMachine, "SOFTWARE\\Vendor", kKeyRead, key), kOk);
}

TEST_F(SimRegistryFiles, AKeyOfAnotherHiveIsAnError) {
    WriteFile(Registry() / "HKCU.reg", kHive);
    SimRegistry reg;
    std::string error;
    EXPECT_FALSE(reg.Load(Registry(), {}, error));
    EXPECT_NE(error.find("HKCU.reg"), std::string::npos) << error;
}

TEST_F(SimRegistryFiles, SavesOnlyChangedHivesAndReadsThemBackTheSame) {
    WriteFile(Registry() / "HKLM.reg", kHive);
    SimRegistry reg;
    std::string error;
    ASSERT_TRUE(reg.Load(Registry(), {}, error)) << error;
    RegKey key;
    ASSERT_EQ(reg.CreateKey(kCurrentUser, "Software\\New", kKeyAllAccess, key), kOk);
    ASSERT_EQ(reg.SetValue(key.Get(), "v", kRegQword, Bytes{1, 2, 3, 4, 5, 6, 7, 8}), kOk);
    ASSERT_TRUE(reg.HasChanges());
    ASSERT_TRUE(reg.Save(Registry(), error)) << error;
    EXPECT_FALSE(reg.HasChanges());
    EXPECT_EQ(ReadFile(Registry() / "HKLM.reg"), kHive);  // untouched, byte for byte
    EXPECT_FALSE(std::filesystem::exists(Registry() / "HKU.reg"));

    SimRegistry again;
    ASSERT_TRUE(again.Load(Registry(), {}, error)) << error;
    EXPECT_EQ(again.ExportHive("HKCU"), reg.ExportHive("HKCU"));
    EXPECT_EQ(again.ExportHive("HKLM"), reg.ExportHive("HKLM"));
}

TEST_F(SimRegistryFiles, DeniedKeysAndEverythingBelowRefuseAccessButStillEnumerate) {
    WriteFile(Registry() / "HKLM.reg",
              "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SAM\\SAM\\Domains]\r\n");
    SimRegistry reg;
    std::string error;
    ASSERT_TRUE(reg.Load(Registry(), {"HKEY_LOCAL_MACHINE\\SAM\\SAM"}, error)) << error;
    RegKey key;
    EXPECT_EQ(reg.OpenKey(kLocalMachine, "SAM\\SAM", kKeyRead, key), kAccessDenied);
    EXPECT_EQ(reg.OpenKey(kLocalMachine, "SAM\\SAM\\Domains", kKeyRead, key), kAccessDenied);
    EXPECT_EQ(reg.DeleteTree(kLocalMachine, "SAM"), kAccessDenied);
    ASSERT_EQ(reg.OpenKey(kLocalMachine, "SAM", kKeyRead, key), kOk);
    std::string name;
    EXPECT_EQ(reg.EnumKey(key.Get(), 0, 1024, name), kOk);
    EXPECT_EQ(name, "SAM");
}

TEST_F(SimRegistryFiles, ImportAppliesDeletionsAndSkipsRefusedLines) {
    WriteFile(Registry() / "HKLM.reg", kHive);
    SimRegistry reg;
    std::string error;
    ASSERT_TRUE(reg.Load(Registry(), {}, error)) << error;
    RegFileResult result = reg.Import(
        "REGEDIT4\r\n\r\n"
        "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Sub]\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n"
        "\"Count\"=-\r\n"
        "\"Bad\"=dword:xyz\r\n"
        "\"Added\"=\"yes\"\r\n"
        "[HKEY_CLASSES_ROOT\\.brk]\r\n"
        "@=\"Brisko.Backup\"\r\n");
    EXPECT_EQ(result.skippedLines, 1u);
    RegKey key;
    EXPECT_EQ(reg.OpenKey(kLocalMachine, "SOFTWARE\\Vendor\\Sub", kKeyRead, key), kFileNotFound);
    ASSERT_EQ(reg.OpenKey(kLocalMachine, "SOFTWARE\\Vendor", kKeyRead, key), kOk);
    ValueType type = 0;
    Bytes data;
    EXPECT_EQ(reg.QueryValue(key.Get(), "Count", 1024, type, data), kFileNotFound);
    EXPECT_EQ(reg.QueryValue(key.Get(), "Added", 1024, type, data), kOk);
    // New classes land in the machine's classes, as the registry editor's import through the merged view.
    EXPECT_EQ(reg.OpenKey(kLocalMachine, "SOFTWARE\\Classes\\.brk", kKeyRead, key), kOk);
}

// What Wine's own registry editor exported (UTF-16, every value type) loads into the simulation as the
// values that were planted.
TEST(SimRegistryImport, AnExportOfTheRegistryEditorLoadsAsThePlantedValues) {
    auto read = [](const char* name) {
        std::ifstream in(std::string(BRISKO_TEST_DATA) + "/regfile/" + name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    };
    SimRegistry fromExport;
    SimRegistry fromPlanted;
    ASSERT_EQ(fromExport.Import(read("wine-export.reg")).skippedLines, 0u);
    ASSERT_EQ(fromPlanted.Import(read("planted.reg")).skippedLines, 0u);
    // Wine's editor writes values sorted by name, so the two are compared value by value.
    auto contents = [](SimRegistry& reg) {
        std::map<std::string, std::pair<ValueType, Bytes>> found;
        std::function<void(HKey, const std::string&)> walk = [&](HKey key, const std::string& path) {
            RegValue value;
            for (std::uint32_t i = 0; reg.EnumValue(key, i, EnumLimits{1024, 1 << 20}, value) == kOk; ++i) {
                found[path + "|" + value.name] = {value.type, value.data};
            }
            std::string name;
            for (std::uint32_t i = 0; reg.EnumKey(key, i, 1024, name) == kOk; ++i) {
                RegKey child;
                if (reg.OpenKey(key, name, kKeyRead, child) == kOk) walk(child.Get(), path + "\\" + name);
            }
        };
        walk(kCurrentUser, "");
        return found;
    };
    auto exported = contents(fromExport);
    EXPECT_GT(exported.size(), 20u);
    EXPECT_EQ(exported, contents(fromPlanted));
}

TEST(SimRegistryStrings, StringDataIsStoredAsUtf16AndHandedOverAsUtf8) {
    const Bytes text =
        Sz("Gr\xc3\xbc\xc3\x9f"
           "e");
    Bytes native = NativeFromAnsi(kRegSz, text);
    EXPECT_EQ(native, (Bytes{'G', 0, 'r', 0, 0xfc, 0, 0xdf, 0, 'e', 0, 0, 0}));
    EXPECT_EQ(AnsiFromNative(kRegSz, native), text);
    // Other types pass untouched; an odd trailing byte of a string is dropped, as the system does.
    EXPECT_EQ(NativeFromAnsi(kRegBinary, text), text);
    EXPECT_EQ(AnsiFromNative(kRegExpandSz, Bytes{'a', 0, 'b'}), Bytes{'a'});
}

TEST(SimRegistryClasses, WritesThroughTheMergedViewGoWhereTheKeyLives) {
    test::TestMachine machine;
    Registry& reg = machine->registry;
    RegKey user;
    ASSERT_EQ(reg.CreateKey(kCurrentUser, "Software\\Classes\\UserOnly", kKeyAllAccess, user), kOk);
    RegKey merged;
    ASSERT_EQ(reg.OpenKey(kClassesRoot, "UserOnly", kKeyAllAccess, merged), kOk);
    ASSERT_EQ(reg.SetValue(merged.Get(), "", kRegSz, Sz("mine")), kOk);
    ValueType type = 0;
    Bytes data;
    EXPECT_EQ(reg.QueryValue(user.Get(), "", 1024, type, data), kOk);

    RegKey created;
    ASSERT_EQ(reg.CreateKey(kClassesRoot, "BrandNew", kKeyAllAccess, created), kOk);
    RegKey machineSide;
    EXPECT_EQ(reg.OpenKey(kLocalMachine, "SOFTWARE\\Classes\\BrandNew", kKeyRead, machineSide), kOk);

    // Enumeration shows each name once, in order, from both sides.
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; reg.EnumKey(kClassesRoot, i, 1024, name) == kOk; ++i)
        names.push_back(name);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return CompareNoCase(a, b) < 0;
    }));
    EXPECT_EQ(std::count(names.begin(), names.end(), "UserOnly"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), ".txt"), 1);
}

}  // namespace
}  // namespace brisko::platform::sim
