// The simulated system service and clock: what machine.json says, and a clock that tests can set.
#pragma once

#include <optional>

#include "platform/Clock.h"
#include "platform/System.h"
#include "platform/sim/MachineConfig.h"

namespace brisko::platform::sim {

class SimSystem final : public System {
public:
    explicit SimSystem(const MachineConfig& config) : config_(config) {}
    OsVersion GetVersion() override { return config_.version; }
    bool IsElevated() override { return config_.administrator && config_.elevated; }
    bool IsUserAdmin() override { return config_.administrator; }
    std::string GetUserName() override { return config_.userName; }
    std::string GetComputerName() override { return config_.computerName; }
    std::string GetProgramPath() override { return config_.programPath; }

private:
    const MachineConfig& config_;
};

// Runs on the host's clock, in UTC (the simulation's time zone), until set; once set it stands still.
class SimClock final : public Clock {
public:
    void Set(const SystemTime& localTime) { fixed_ = localTime; }
    void Release() { fixed_.reset(); }
    SystemTime GetLocalTime() override;
    FileTime GetSystemTimeAsFileTime() override;

private:
    std::optional<SystemTime> fixed_;
};

// FILETIME arithmetic shared by the simulation.
FileTime FileTimeFromUnixSeconds(long long seconds, int nanoseconds = 0);

}  // namespace brisko::platform::sim
