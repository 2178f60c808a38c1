// The machine the program runs on: the five services over the real Windows API.
#pragma once

#include "platform/Machine.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"

namespace brisko::platform::win32 {

namespace detail {
// Built before the Machine base, which keeps references to them.
struct Win32Services {
    Win32Registry registryService;
    Win32FileSystem fileService;
    Win32Shell shellService;
    Win32System systemService;
    Win32Clock clockService;
};
}  // namespace detail

class Win32Machine final : private detail::Win32Services, public Machine {
public:
    Win32Machine() : Machine(registryService, fileService, shellService, systemService, clockService) {}
};

}  // namespace brisko::platform::win32
