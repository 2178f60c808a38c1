// Feeds arbitrary bytes to the shortcut reader: it must answer, never crash or read outside the input.
// Built only by run_shelllink_fuzz.sh, outside the normal build.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/ShellLink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brisko::platform;
    // The fuzzer hands over a buffer of exactly the input's size, so any read past its end is caught.
    std::span<const std::uint8_t> bytes(data, size);
    shelllink::ShellLinkData link;
    if (shelllink::ParseShellLink(bytes, link) == kOk) {
        std::string path;
        shelllink::RawTargetPath(link, path);
        // What was read must survive a write and a second read unchanged.
        for (bool unicode : {true, false}) {
            shelllink::ShellLinkData again;
            if (shelllink::ParseShellLink(shelllink::WriteShellLink(link, unicode), again) != kOk)
                __builtin_trap();
        }
    }
    return 0;
}
