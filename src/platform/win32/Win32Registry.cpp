#include "platform/win32/Win32Registry.h"

#include <cstdint>

#include "platform/win32/WinApi.h"

namespace brisko::platform::win32 {

namespace {

struct Root {
    HKey key;
    HKEY hkey;
};

// The interface numbers the roots as 32-bit Windows does; on x64 the same roots are sign-extended pointers.
const Root kRoots[] = {
    {kClassesRoot, HKEY_CLASSES_ROOT},
    {kCurrentUser, HKEY_CURRENT_USER},
    {kLocalMachine, HKEY_LOCAL_MACHINE},
    {kUsers, HKEY_USERS},
    {kPerformanceData, HKEY_PERFORMANCE_DATA},
    {kCurrentConfig, HKEY_CURRENT_CONFIG},
    {kDynData, HKEY_DYN_DATA},
};

HKEY ToHkey(HKey key) {
    for (const Root& root : kRoots) {
        if (root.key == key) return root.hkey;
    }
    return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(key));
}

HKey FromHkey(HKEY hkey) {
    for (const Root& root : kRoots) {
        if (root.hkey == hkey) return root.key;
    }
    return static_cast<HKey>(reinterpret_cast<std::uintptr_t>(hkey));
}

}  // namespace

Status Win32Registry::OpenKey(HKey parent, std::string_view subKey, Access access, RegKey& result) {
    return Guarded([&]() -> Status {
        HKEY opened = nullptr;
        LSTATUS status = ::RegOpenKeyExA(ToHkey(parent), Sz(subKey).c_str(), 0, access, &opened);
        if (status == ERROR_SUCCESS) result = RegKey(*this, FromHkey(opened));
        return static_cast<Status>(status);
    });
}

Status Win32Registry::CreateKey(HKey parent, std::string_view subKey, Access access, RegKey& result,
                                bool* created) {
    return Guarded([&]() -> Status {
        HKEY opened = nullptr;
        DWORD disposition = 0;
        LSTATUS status = ::RegCreateKeyExA(ToHkey(parent), Sz(subKey).c_str(), 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, access, nullptr, &opened, &disposition);
        if (status != ERROR_SUCCESS) return static_cast<Status>(status);
        result = RegKey(*this, FromHkey(opened));
        if (created != nullptr) *created = disposition == REG_CREATED_NEW_KEY;
        return kOk;
    });
}

Status Win32Registry::CloseKey(HKey key) {
    // The system hands a root back for an empty subkey path; roots are the system's, never closed here.
    if (IsPredefinedKey(key)) return kOk;
    return static_cast<Status>(::RegCloseKey(ToHkey(key)));
}

Status Win32Registry::EnumKey(HKey key, std::uint32_t index, std::uint32_t nameCapacity, std::string& name) {
    return Guarded([&]() -> Status {
        auto buffer = CallBuffer<char>(nameCapacity);
        if (!buffer) return kNotEnoughMemory;
        DWORD length = nameCapacity;
        LSTATUS status =
            ::RegEnumKeyExA(ToHkey(key), index, buffer.get(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) return static_cast<Status>(status);
        std::string found(buffer.get(), length);
        name = std::move(found);
        return kOk;
    });
}

Status Win32Registry::EnumValue(HKey key, std::uint32_t index, const EnumLimits& limits, RegValue& value,
                                bool wantData) {
    return Guarded([&]() -> Status {
        auto nameBuffer = CallBuffer<char>(limits.nameCapacity);
        auto dataBuffer = CallBuffer<BYTE>(wantData ? limits.dataCapacity : 0);
        if (!nameBuffer || !dataBuffer) return kNotEnoughMemory;
        DWORD nameLength = limits.nameCapacity;
        DWORD type = 0;
        DWORD dataLength = limits.dataCapacity;
        LSTATUS status =
            ::RegEnumValueA(ToHkey(key), index, nameBuffer.get(), &nameLength, nullptr, &type,
                            wantData ? dataBuffer.get() : nullptr, wantData ? &dataLength : nullptr);
        if (status != ERROR_SUCCESS) return static_cast<Status>(status);
        RegValue found;
        found.name.assign(nameBuffer.get(), nameLength);
        found.type = type;
        if (wantData) found.data.assign(dataBuffer.get(), dataBuffer.get() + dataLength);
        value = std::move(found);
        return kOk;
    });
}

Status Win32Registry::QueryValue(HKey key, std::string_view name, std::uint32_t dataCapacity, ValueType& type,
                                 Bytes& data, std::uint32_t* needed) {
    return Guarded([&]() -> Status {
        auto buffer = CallBuffer<BYTE>(dataCapacity);
        if (!buffer) return kNotEnoughMemory;
        DWORD foundType = 0;
        DWORD length = dataCapacity;
        LSTATUS status =
            ::RegQueryValueExA(ToHkey(key), Sz(name).c_str(), nullptr, &foundType, buffer.get(), &length);
        if (status == ERROR_MORE_DATA && needed != nullptr) *needed = length;
        if (status != ERROR_SUCCESS) return static_cast<Status>(status);
        Bytes found(buffer.get(), buffer.get() + length);
        data = std::move(found);
        type = foundType;
        return kOk;
    });
}

Status Win32Registry::SetValue(HKey key, std::string_view name, ValueType type,
                               std::span<const std::uint8_t> data) {
    return Guarded([&]() -> Status {
        if (data.size() > MAXDWORD - 1) return kInvalidParameter;
        // For the string types the system also looks at the byte after the data and, when the data lacks
        // its terminating zero and that byte is zero, stores one more byte. The byte after the caller's
        // span is not the caller's to give, so the data goes from a copy followed by a non-zero byte: the
        // system stores exactly the bytes given.
        Bytes copy(data.begin(), data.end());
        copy.push_back(0xFF);
        LSTATUS status = ::RegSetValueExA(ToHkey(key), Sz(name).c_str(), 0, type, copy.data(),
                                          static_cast<DWORD>(data.size()));
        return static_cast<Status>(status);
    });
}

Status Win32Registry::DeleteValue(HKey key, std::string_view name) {
    return Guarded(
        [&]() -> Status { return static_cast<Status>(::RegDeleteValueA(ToHkey(key), Sz(name).c_str())); });
}

Status Win32Registry::DeleteKey(HKey parent, std::string_view subKey) {
    return Guarded(
        [&]() -> Status { return static_cast<Status>(::RegDeleteKeyA(ToHkey(parent), Sz(subKey).c_str())); });
}

Status Win32Registry::DeleteTree(HKey parent, std::string_view subKey) {
    return Guarded(
        [&]() -> Status { return static_cast<Status>(::SHDeleteKeyA(ToHkey(parent), Sz(subKey).c_str())); });
}

Status Win32Registry::QueryInfoKey(HKey key, KeyInfo& info) {
    DWORD subKeys = 0;
    DWORD maxSubKeyLength = 0;
    DWORD values = 0;
    DWORD maxValueNameLength = 0;
    DWORD maxValueDataLength = 0;
    LSTATUS status =
        ::RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLength, nullptr,
                           &values, &maxValueNameLength, &maxValueDataLength, nullptr, nullptr);
    if (status != ERROR_SUCCESS) return static_cast<Status>(status);
    info.subKeys = subKeys;
    info.maxSubKeyLength = maxSubKeyLength;
    info.values = values;
    info.maxValueNameLength = maxValueNameLength;
    info.maxValueDataLength = maxValueDataLength;
    return kOk;
}

}  // namespace brisko::platform::win32
