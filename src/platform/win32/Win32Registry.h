// The registry service on the real system: the ANSI registry functions of advapi32, one call each.
#pragma once

#include "platform/Registry.h"

namespace brisko::platform::win32 {

class Win32Registry final : public Registry {
public:
    Status OpenKey(HKey parent, std::string_view subKey, Access access, RegKey& result) override;
    Status CreateKey(HKey parent, std::string_view subKey, Access access, RegKey& result,
                     bool* created = nullptr) override;
    Status CloseKey(HKey key) override;
    Status EnumKey(HKey key, std::uint32_t index, std::uint32_t nameCapacity, std::string& name) override;
    Status EnumValue(HKey key, std::uint32_t index, const EnumLimits& limits, RegValue& value,
                     bool wantData = true) override;
    Status QueryValue(HKey key, std::string_view name, std::uint32_t dataCapacity, ValueType& type,
                      Bytes& data, std::uint32_t* needed = nullptr) override;
    Status SetValue(HKey key, std::string_view name, ValueType type,
                    std::span<const std::uint8_t> data) override;
    Status DeleteValue(HKey key, std::string_view name) override;
    Status DeleteKey(HKey parent, std::string_view subKey) override;
    Status DeleteTree(HKey parent, std::string_view subKey) override;
    Status QueryInfoKey(HKey key, KeyInfo& info) override;
};

}  // namespace brisko::platform::win32
