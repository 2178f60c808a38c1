// First proof of a backend: one key, its values and subkeys through the registry service.
#include <string>

#include "contract/ContractEnv.h"

namespace brisko::contract {
namespace {

using namespace platform;

TEST(RegistrySmoke, CreatedKeyHoldsWhatWasSet) {
    Registry& reg = M().registry;
    RegKey key;
    bool created = false;
    ASSERT_EQ(reg.CreateKey(kCurrentUser, Env().scratchKey + "\\Smoke", kKeyAllAccess, key, &created), kOk);
    EXPECT_TRUE(created);
    const std::string text = "hello";
    Bytes data(text.begin(), text.end());
    data.push_back(0);
    ASSERT_EQ(reg.SetValue(key.Get(), "Greeting", kRegSz, data), kOk);
    ValueType type = 0;
    Bytes read;
    ASSERT_EQ(reg.QueryValue(key.Get(), "Greeting", 1024, type, read), kOk);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(read, data);
}

}  // namespace
}  // namespace brisko::contract
