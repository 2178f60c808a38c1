// What the benchmarks share: a generated machine in a temporary folder, a notify window that answers and
// counts, one registry category run on its own, and memory figures.
#pragma once

#include <malloc.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/sim/MachineBuilder.h"
#include "platform/sim/SimMachine.h"
#include "scan/ActivityLog.h"
#include "scan/ScanMessages.h"
#include "scanners/registry/RegistryScanner.h"

namespace brisko::bench {

// Answers every notification and takes what is reported, counting it.
class CountingWindow final : public platform::Notifier {
public:
    std::intptr_t Send(std::uint32_t message, std::uintptr_t, std::intptr_t lParam) override {
        if (message == scan::kMsgProblemFound) {
            std::unique_ptr<scan::CRegistryProblem> taken(reinterpret_cast<scan::CRegistryProblem*>(lParam));
            ++found;
        }
        return 1;
    }
    long found = 0;
};

// The process's peak resident memory so far.
inline double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Resident memory now, from /proc.
inline double ResidentMegabytes() {
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) return 0;
    long pages = 0;
    long resident = 0;
    int read = std::fscanf(statm, "%ld %ld", &pages, &resident);
    std::fclose(statm);
    return read == 2 ? static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0) : 0;
}

// An ASCII text as a REG_SZ value's stored bytes: UTF-16 with its terminating zero.
inline platform::Bytes StoredString(std::string_view text) {
    platform::Bytes data;
    for (char c : text)
        data.push_back(static_cast<std::uint8_t>(c)), data.push_back(0);
    data.push_back(0), data.push_back(0);
    return data;
}

// A fresh Windows 7 machine in a temporary folder, removed afterwards.
class GeneratedMachine {
public:
    explicit GeneratedMachine(std::string_view name)
        : folder_(std::filesystem::temp_directory_path() / ("brisko-bench-" + std::string(name))) {
        std::filesystem::remove_all(folder_);
        std::string error;
        if (!platform::sim::CreateMachine(folder_, "win7", error)) throw std::runtime_error(error);
        machine_ = platform::sim::SimMachine::Open(folder_, error);
        if (!machine_) throw std::runtime_error(error);
    }
    ~GeneratedMachine() {
        machine_.reset();
        std::filesystem::remove_all(folder_);
    }
    GeneratedMachine(const GeneratedMachine&) = delete;
    GeneratedMachine& operator=(const GeneratedMachine&) = delete;

    platform::sim::SimMachine& operator*() { return *machine_; }
    platform::sim::SimMachine* operator->() { return machine_.get(); }

    // Adds a generated .reg text, then gives what the generation freed back to the system, so that
    // resident memory is the machine's.
    void Import(std::string text) {
        machine_->SimulatedRegistry().Import(text);
        text = std::string();
        malloc_trim(0);
    }

private:
    std::filesystem::path folder_;
    std::unique_ptr<platform::sim::SimMachine> machine_;
};

// One registry category scanned on its own, as many times as asked.
class CategoryScan {
public:
    CategoryScan(platform::Machine& machine, int category) : context_{machine, log_, problems_, {}, {}} {
        enabled_[category] = true;
    }
    void Run(CountingWindow& window) {
        scanners::RegistryScanner scanner(context_, enabled_);
        scanner.Scan(window);
    }

private:
    scan::MemoryLog log_;
    scan::ProblemLists problems_;
    scan::ScanContext context_;
    bool enabled_[12] = {};
};

}  // namespace brisko::bench
