// The registry service: the ANSI registry functions of advapi32, one method each, with the same statuses.
//
// Conventions (they hold for both backends, and tests/contract states them):
// - Texts are 8-bit in the program's ANSI code page, which is UTF-8 (the manifest declares it on Windows).
// - Value data travels as its type and exact bytes as the ANSI functions hand them over: the string types
//   (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) in the code page, every other type untouched.
// - "Capacity" is the size of the caller's buffer, as the Win32 call would be given it: characters
//   including the terminating zero for names, bytes for data. Too small a buffer gives kMoreData.
// - A call that fails leaves its outputs as they were.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Status.h"

namespace brisko::platform {

// An open key or a predefined root. Opaque: only the backend that issued it gives it meaning.
enum class HKey : std::uint64_t {};

inline constexpr HKey kNullKey{0};
inline constexpr HKey kClassesRoot{0x80000000};
inline constexpr HKey kCurrentUser{0x80000001};
inline constexpr HKey kLocalMachine{0x80000002};
inline constexpr HKey kUsers{0x80000003};
inline constexpr HKey kPerformanceData{0x80000004};
inline constexpr HKey kCurrentConfig{0x80000005};
inline constexpr HKey kDynData{0x80000006};

inline bool IsPredefinedKey(HKey key) {
    auto v = static_cast<std::uint64_t>(key);
    return v >= 0x80000000u && v <= 0x80000006u;
}

// Access masks (REGSAM).
using Access = std::uint32_t;
inline constexpr Access kKeyQueryValue = 0x0001;
inline constexpr Access kKeySetValue = 0x0002;
inline constexpr Access kKeyCreateSubKey = 0x0004;
inline constexpr Access kKeyEnumerateSubKeys = 0x0008;
inline constexpr Access kKeyNotify = 0x0010;
inline constexpr Access kKeyCreateLink = 0x0020;
inline constexpr Access kKeyRead = 0x20019;
inline constexpr Access kKeyWrite = 0x20006;
inline constexpr Access kKeyAllAccess = 0xF003F;

// Value types; any other number is kept and handed back as it was stored.
using ValueType = std::uint32_t;
inline constexpr ValueType kRegNone = 0;
inline constexpr ValueType kRegSz = 1;
inline constexpr ValueType kRegExpandSz = 2;
inline constexpr ValueType kRegBinary = 3;
inline constexpr ValueType kRegDword = 4;
inline constexpr ValueType kRegDwordBigEndian = 5;
inline constexpr ValueType kRegLink = 6;
inline constexpr ValueType kRegMultiSz = 7;
inline constexpr ValueType kRegResourceList = 8;
inline constexpr ValueType kRegFullResourceDescriptor = 9;
inline constexpr ValueType kRegResourceRequirementsList = 10;
inline constexpr ValueType kRegQword = 11;

inline bool IsStringType(ValueType type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

using Bytes = std::vector<std::uint8_t>;

// Buffer sizes the engines pass for an enumeration step, reset before each call.
struct EnumLimits {
    std::uint32_t nameCapacity = 1024;  // characters, terminating zero included
    std::uint32_t dataCapacity = 1024;  // bytes
};

struct RegValue {
    std::string name;
    ValueType type = kRegNone;
    Bytes data;
};

// What RegQueryInfoKeyA reports.
struct KeyInfo {
    std::uint32_t subKeys = 0;
    std::uint32_t maxSubKeyLength = 0;  // characters, no terminating zero
    std::uint32_t values = 0;
    std::uint32_t maxValueNameLength = 0;
    std::uint32_t maxValueDataLength = 0;  // bytes
};

class Registry;

// Owns one open key and closes it. Move-only and converts to nothing, so a key is closed exactly once.
class RegKey {
public:
    RegKey() = default;
    RegKey(Registry& registry, HKey key) noexcept : registry_(&registry), key_(key) {}
    RegKey(RegKey&& other) noexcept
        : registry_(std::exchange(other.registry_, nullptr)), key_(std::exchange(other.key_, kNullKey)) {}
    RegKey& operator=(RegKey other) noexcept {
        std::swap(registry_, other.registry_);
        std::swap(key_, other.key_);
        return *this;
    }
    ~RegKey();

    HKey Get() const noexcept { return key_; }
    bool IsOpen() const noexcept { return key_ != kNullKey; }
    void Close() noexcept { RegKey().swap(*this); }
    void swap(RegKey& other) noexcept {
        std::swap(registry_, other.registry_);
        std::swap(key_, other.key_);
    }

private:
    Registry* registry_ = nullptr;
    HKey key_ = kNullKey;
};

class Registry {
public:
    virtual ~Registry() = default;

    // RegOpenKeyExA. An empty subKey opens the key itself again.
    virtual Status OpenKey(HKey parent, std::string_view subKey, Access access, RegKey& result) = 0;
    // RegCreateKeyExA: opens the key, creating it and missing parents. *created tells which it was.
    virtual Status CreateKey(HKey parent, std::string_view subKey, Access access, RegKey& result,
                             bool* created = nullptr) = 0;
    // RegCloseKey. Called by RegKey; predefined roots are never closed.
    virtual Status CloseKey(HKey key) = 0;

    // RegEnumKeyExA: the subkey at index, or kNoMoreItems past the end.
    virtual Status EnumKey(HKey key, std::uint32_t index, std::uint32_t nameCapacity, std::string& name) = 0;
    // RegEnumValueA. With wantData false only the name and type are asked for (lpData NULL), and the
    // data capacity plays no part.
    virtual Status EnumValue(HKey key, std::uint32_t index, const EnumLimits& limits, RegValue& value,
                             bool wantData = true) = 0;
    // RegQueryValueExA. An empty name is the unnamed value. On kMoreData *needed (when given) holds the
    // size the data wants.
    virtual Status QueryValue(HKey key, std::string_view name, std::uint32_t dataCapacity, ValueType& type,
                              Bytes& data, std::uint32_t* needed = nullptr) = 0;
    // RegSetValueExA.
    virtual Status SetValue(HKey key, std::string_view name, ValueType type,
                            std::span<const std::uint8_t> data) = 0;
    // RegDeleteValueA.
    virtual Status DeleteValue(HKey key, std::string_view name) = 0;
    // RegDeleteKeyA: fails while the key has subkeys.
    virtual Status DeleteKey(HKey parent, std::string_view subKey) = 0;
    // SHDeleteKeyA: the key with everything below it.
    virtual Status DeleteTree(HKey parent, std::string_view subKey) = 0;
    // RegQueryInfoKeyA.
    virtual Status QueryInfoKey(HKey key, KeyInfo& info) = 0;
};

inline RegKey::~RegKey() {
    if (registry_ != nullptr && key_ != kNullKey) registry_->CloseKey(key_);
}

}  // namespace brisko::platform
