// The system service on the real system: the true version, the token's rights and the names.
#pragma once

#include "platform/System.h"

namespace brisko::platform::win32 {

class Win32System final : public System {
public:
    OsVersion GetVersion() override;
    bool IsElevated() override;
    bool IsUserAdmin() override;
    std::string GetUserName() override;
    std::string GetComputerName() override;
    std::string GetProgramPath() override;
};

}  // namespace brisko::platform::win32
