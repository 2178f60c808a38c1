// The clock service on the real system.
#pragma once

#include "platform/Clock.h"

namespace brisko::platform::win32 {

class Win32Clock final : public Clock {
public:
    SystemTime GetLocalTime() override;
    FileTime GetSystemTimeAsFileTime() override;
};

}  // namespace brisko::platform::win32
