// A registry engine run on a simulated machine for the tests: its own log, problem lists and a window that
// keeps every notification and adds the reported problems to the lists, as the scanning page does (Deep
// Scan reads those lists to leave out what another category reported).
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Machine.h"
#include "platform/Notifier.h"
#include "scan/ActivityLog.h"
#include "scan/Problem.h"
#include "scan/ScanContext.h"
#include "scan/ScanMessages.h"
#include "scanners/registry/RegistryScanner.h"

namespace brisko::regtest {

class ResultsWindow final : public platform::Notifier {
public:
    struct Message {
        std::uint32_t id;
        std::uintptr_t wParam;
        std::intptr_t lParam;  // 0 for the current-item text, which lives only during the call
        std::string text;      // the current-item text
    };

    explicit ResultsWindow(scan::ProblemLists& lists) : lists_(lists) {}

    std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
        if (message == scan::kMsgProblemFound) {
            lists_.ForEngine(static_cast<int>(wParam))
                .emplace_back(reinterpret_cast<scan::CRegistryProblem*>(lParam));
        }
        if (message == scan::kMsgCurrentItem) {
            messages.push_back({message, wParam, 0, reinterpret_cast<const char*>(lParam)});
        } else {
            messages.push_back({message, wParam, lParam, {}});
        }
        return 1;
    }

    std::vector<Message> messages;

private:
    scan::ProblemLists& lists_;
};

inline std::array<bool, 12> Categories(std::initializer_list<int> enabled) {
    std::array<bool, 12> flags{};
    for (int category : enabled)
        flags[static_cast<std::size_t>(category)] = true;
    return flags;
}

class RegistryRun {
public:
    RegistryRun(platform::Machine& machine, std::initializer_list<int> enabled)
        : context{machine, log, problems, {}, {}},
          flags(Categories(enabled)),
          window(problems),
          scanner(context, flags) {
        // The checkers may be called on their own, outside Scan: they report to the same window.
        scanner.SetWindow(&window);
    }

    void Scan() { scanner.Scan(window); }
    const scan::ProblemList& Found() const { return problems.RegistryProblems; }

    scan::MemoryLog log;
    scan::ProblemLists problems;
    scan::ScanContext context;
    std::array<bool, 12> flags;
    ResultsWindow window;
    scanners::RegistryScanner scanner;
};

// Writes a value, creating its key.
inline void PutValue(platform::Machine& machine, platform::HKey root, std::string_view key,
                     std::string_view name, platform::ValueType type, const platform::Bytes& data) {
    platform::RegKey handle;
    ASSERT_EQ(machine.registry.CreateKey(root, key, platform::kKeyAllAccess, handle), platform::kOk) << key;
    ASSERT_EQ(machine.registry.SetValue(handle.Get(), name, type, data), platform::kOk) << key << " " << name;
}

inline platform::Bytes Terminated(std::string_view text) {
    platform::Bytes bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

inline void PutText(platform::Machine& machine, platform::HKey root, std::string_view key,
                    std::string_view name, std::string_view text) {
    PutValue(machine, root, key, name, platform::kRegSz, Terminated(text));
}

// Creates a file with a few bytes, and the folders above it.
inline void PutFile(platform::Machine& machine, std::string_view path) {
    for (std::size_t slash = path.find('\\', 3); slash != std::string_view::npos;
         slash = path.find('\\', slash + 1)) {
        platform::Status status = machine.files.CreateDirectory(path.substr(0, slash));
        ASSERT_TRUE(status == platform::kOk || status == platform::kAlreadyExists) << path;
    }
    platform::FileHandle file;
    ASSERT_EQ(machine.files.OpenFile(path, platform::kGenericWrite, 0, platform::kCreateAlways, file),
              platform::kOk)
        << path;
    std::uint32_t written = 0;
    const std::uint8_t stub[] = {'M', 'Z'};
    ASSERT_EQ(file->Write(stub, written), platform::kOk);
}

}  // namespace brisko::regtest
