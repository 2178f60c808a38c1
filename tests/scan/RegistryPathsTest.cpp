#include "scan/RegistryPaths.h"

#include <gtest/gtest.h>

#include "support/TestMachine.h"

namespace brisko::scan {
namespace {

using namespace platform;

TEST(RootKeyNames, LongAndShortFormsOfEachRoot) {
    struct Case {
        HKey root;
        const char* longName;
        const char* shortName;
    };
    const Case cases[] = {
        {kClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
        {kCurrentUser, "HKEY_CURRENT_USER", "HKCU"},
        {kLocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
        {kUsers, "HKEY_USERS", "HKU"},
        {kPerformanceData, "HKEY_PERFORMANCE_DATA", "HKPD"},
        {kCurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
        {kDynData, "HKEY_DYN_DATA", "HKDD"},
        {HKey{0x1234}, "", ""},
        {kNullKey, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetRootKeyName(c.root, false), c.longName);
        EXPECT_EQ(GetRootKeyName(c.root, true), c.shortName);
    }
    EXPECT_EQ(FullKeyPath(kLocalMachine, "SOFTWARE\\X"), "HKEY_LOCAL_MACHINE\\SOFTWARE\\X");
}

TEST(SplitKeyPath, AcceptsOnlyTheGivenRootsCaseSensitively) {
    constexpr std::string_view kMachine[] = {"HKEY_LOCAL_MACHINE"};
    constexpr std::string_view kUser[] = {"HKEY_CURRENT_USER"};
    constexpr std::string_view kDeepScan[] = {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKLM", "HKU",
                                              "HKEY_USERS"};
    struct Case {
        std::string_view text;
        std::span<const std::string_view> accepted;
        bool found;
        HKey root;
        const char* subKey;
    };
    const Case cases[] = {
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\X", kMachine, true, kLocalMachine, "SOFTWARE\\X"},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\X", kUser, false, kNullKey, ""},
        {"hkey_local_machine\\SOFTWARE\\X", kMachine, false, kNullKey, ""},
        {"HKLM\\SOFTWARE\\X", kDeepScan, true, kLocalMachine, "SOFTWARE\\X"},
        {"HKLM\\SOFTWARE\\X", kMachine, false, kNullKey, ""},
        {"HKU\\.DEFAULT\\Software", kDeepScan, true, kUsers, ".DEFAULT\\Software"},
        {"HKEY_USERS\\S-1-5-18", kDeepScan, true, kUsers, "S-1-5-18"},
        {"HKEY_CURRENT_USER\\Software", kDeepScan, true, kCurrentUser, "Software"},
        // A name that only begins like a root names none; a bare root has the empty subkey.
        {"HKEY_LOCAL_MACHINEX\\SOFTWARE", kMachine, false, kNullKey, ""},
        {"HKLM", kDeepScan, true, kLocalMachine, ""},
        {"", kDeepScan, false, kNullKey, ""},
    };
    for (const Case& c : cases) {
        auto split = SplitKeyPath(c.text, c.accepted);
        ASSERT_EQ(split.has_value(), c.found) << c.text;
        if (!split) continue;
        EXPECT_EQ(split->root, c.root) << c.text;
        EXPECT_EQ(split->subKey, c.subKey) << c.text;
    }
}

TEST(DataText, ReadsAnyTypeAsTextUpToTheFirstZero) {
    EXPECT_EQ(DataText(Bytes{'a', 'b', 'c', 0}), "abc");  // REG_DWORD 0x00636261
    EXPECT_EQ(DataText(Bytes{0x01, 0x00, 0x00, 0x00}), "\x01");
    EXPECT_EQ(DataText(Bytes{'x', 'y'}), "xy");
    EXPECT_EQ(DataText(Bytes{}), "");
}

class RegistryHelpers : public ::testing::Test {
protected:
    test::TestMachine machine;
    Registry& reg() { return machine->registry; }
    void Make(const std::string& path) {
        RegKey k;
        ASSERT_EQ(reg().CreateKey(kCurrentUser, path, kKeyAllAccess, k), kOk);
    }
};

TEST_F(RegistryHelpers, KeyHasContentIsFalseOnlyForTheExpectedSubkeysAndNoValues) {
    Make("Software\\T\\Only");
    EXPECT_FALSE(KeyHasContent(reg(), kCurrentUser, "Software\\T", 1));
    EXPECT_TRUE(KeyHasContent(reg(), kCurrentUser, "Software\\T", 0));
    EXPECT_TRUE(KeyHasContent(reg(), kCurrentUser, "Software\\Missing", 0));
    RegKey k;
    ASSERT_EQ(reg().OpenKey(kCurrentUser, "Software\\T", kKeyAllAccess, k), kOk);
    const Bytes one{1, 0, 0, 0};
    ASSERT_EQ(reg().SetValue(k.Get(), "v", kRegDword, one), kOk);
    EXPECT_TRUE(KeyHasContent(reg(), kCurrentUser, "Software\\T", 1));
}

TEST_F(RegistryHelpers, CountSubkeysIsZeroForAKeyThatCannotBeOpened) {
    Make("Software\\C\\a");
    Make("Software\\C\\b");
    EXPECT_EQ(CountSubkeys(reg(), kCurrentUser, "Software\\C"), 2);
    EXPECT_EQ(CountSubkeys(reg(), kCurrentUser, "Software\\Missing"), 0);
}

TEST_F(RegistryHelpers, EnumerationStopsAtAValueLargerThanTheBuffer) {
    RegKey k;
    ASSERT_EQ(reg().CreateKey(kCurrentUser, "Software\\Big", kKeyAllAccess, k), kOk);
    const Bytes small{'a', 0};
    ASSERT_EQ(reg().SetValue(k.Get(), "before", kRegSz, small), kOk);
    ASSERT_EQ(reg().SetValue(k.Get(), "big", kRegBinary, Bytes(2000, 7)), kOk);
    ASSERT_EQ(reg().SetValue(k.Get(), "after", kRegSz, small), kOk);
    std::vector<std::string> seen;
    RegValue value;
    for (std::uint32_t i = 0;
         reg().EnumValue(k.Get(), i, EnumLimits{kNameBufferLength, kDataBufferLength}, value) == kOk; ++i) {
        seen.push_back(value.name);
    }
    EXPECT_EQ(seen, std::vector<std::string>{"before"});
}

TEST_F(RegistryHelpers, DataTextsStartingWithAVariableAreExpanded) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"%SystemRoot%\\notepad.exe", "C:\\Windows\\notepad.exe"},
        {"\"%SystemRoot%\\notepad.exe\" %1", "\"C:\\Windows\\notepad.exe\" %1"},
        {"C:\\%SystemRoot%", "C:\\%SystemRoot%"},
        {"%NoSuchVariable%\\x", "%NoSuchVariable%\\x"},
        {"%SystemRoot%" + std::string(1100, 'x'), "%SystemRoot%" + std::string(1100, 'x')},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        ExpandDataText(machine->shell, text);
        EXPECT_EQ(text, c.expected) << c.text;
    }
}

}  // namespace
}  // namespace brisko::scan
