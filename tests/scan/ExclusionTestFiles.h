// Files on a simulated machine for the exclusion and ignore-list tests: put there from a text or from a
// fixture of tests/data/exclusions, and read back byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace brisko::test {

inline void PutFile(platform::FileSystem& files, std::string_view path, std::string_view bytes) {
    platform::FileHandle file;
    ASSERT_EQ(files.OpenFile(path, platform::kGenericWrite, 0, platform::kCreateAlways, file), platform::kOk)
        << path;
    std::uint32_t written = 0;
    std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ASSERT_EQ(file->Write(data, written), platform::kOk);
    ASSERT_EQ(written, bytes.size());
}

// The bytes of a file, or "<missing>" when it cannot be opened.
inline std::string GetFile(platform::FileSystem& files, std::string_view path) {
    platform::FileHandle file;
    if (files.OpenFile(path, platform::kGenericRead, platform::kShareRead, platform::kOpenExisting, file) !=
        platform::kOk) {
        return "<missing>";
    }
    std::string bytes;
    std::uint8_t buffer[4096];
    std::uint32_t read = 0;
    while (file->Read(buffer, read) == platform::kOk && read > 0)
        bytes.append(buffer, buffer + read);
    return bytes;
}

inline std::string Fixture(std::string_view name) {
    std::ifstream in(std::string(BRISKO_TEST_DATA) + "/exclusions/" + std::string(name), std::ios::binary);
    EXPECT_TRUE(in) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace brisko::test
