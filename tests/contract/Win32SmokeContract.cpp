// String data through the ANSI registry functions: the registry keeps strings as UTF-16, and the service
// hands over exactly the UTF-8 bytes that were set, terminated or not, and counts them in bytes.
#include <string>

#include "contract/ContractEnv.h"

namespace brisko::contract {
namespace {

using namespace platform;

class StringDataContract : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = Env().scratchKey + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_EQ(M().registry.CreateKey(kCurrentUser, path_, kKeyAllAccess, key_), kOk);
    }
    void TearDown() override {
        key_.Close();
        M().registry.DeleteTree(kCurrentUser, path_);
    }

    std::string path_;
    RegKey key_;
};

// Windows adds a terminating zero to string data set without one when the byte after the data happens
// to be zero; that byte is not the caller's, so the service sets exactly the bytes given.
TEST_F(StringDataContract, DataWithoutTerminatorComesBackAsSet) {
    struct Case {
        const char* name;
        ValueType type;
        Bytes data;
    };
    const Case cases[] = {
        {"sz", kRegSz, {'a', 'b', 'c'}},          {"expand sz", kRegExpandSz, {'%', 'X', '%'}},
        {"multi sz", kRegMultiSz, {'a', 0, 'b'}}, {"multi sz one zero", kRegMultiSz, {'a', 0, 'b', 0}},
        {"sz of zero bytes", kRegSz, {}},
    };
    Registry& reg = M().registry;
    for (const Case& c : cases)
        ASSERT_EQ(reg.SetValue(key_.Get(), c.name, c.type, c.data), kOk) << c.name;
    for (const Case& c : cases) {
        ValueType type = 0;
        Bytes data{0xee};
        ASSERT_EQ(reg.QueryValue(key_.Get(), c.name, 64, type, data), kOk) << c.name;
        EXPECT_EQ(type, c.type) << c.name;
        EXPECT_EQ(data, c.data) << c.name;
    }
}

// "ü€" is 2 UTF-16 characters and 5 UTF-8 bytes: sizes are the UTF-8 ones.
TEST_F(StringDataContract, SizesCountUtf8Bytes) {
    const std::string text = "\xc3\xbc\xe2\x82\xac";
    Bytes data(text.begin(), text.end());
    data.push_back(0);
    Registry& reg = M().registry;
    ASSERT_EQ(reg.SetValue(key_.Get(), "v", kRegSz, data), kOk);
    ValueType type = 0;
    Bytes read;
    std::uint32_t needed = 0;
    EXPECT_EQ(reg.QueryValue(key_.Get(), "v", 5, type, read, &needed), kMoreData);
    EXPECT_EQ(needed, 6u);
    EXPECT_TRUE(read.empty());
    ASSERT_EQ(reg.QueryValue(key_.Get(), "v", 6, type, read), kOk);
    EXPECT_EQ(read, data);

    RegValue value;
    EXPECT_EQ(reg.EnumValue(key_.Get(), 0, EnumLimits{1024, 5}, value), kMoreData);
    EXPECT_TRUE(value.name.empty());
    ASSERT_EQ(reg.EnumValue(key_.Get(), 0, EnumLimits{1024, 6}, value), kOk);
    EXPECT_EQ(value.data, data);
}

}  // namespace
}  // namespace brisko::contract
