// A machine is the set of services through which the engine reaches one Windows system, real or simulated.
// The engine is given a Machine and reaches nothing else, so a test can build one, run on it and look at it.
#pragma once

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"

namespace brisko::platform {

class Machine {
public:
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;
    virtual ~Machine() = default;

    Registry& registry;
    FileSystem& files;
    Shell& shell;
    System& system;
    Clock& clock;

protected:
    Machine(Registry& r, FileSystem& f, Shell& s, System& sys, Clock& c)
        : registry(r), files(f), shell(s), system(sys), clock(c) {}
};

}  // namespace brisko::platform
