// The notify window of the scan and repair workers: a worker sends a numbered message and waits until
// the receiver, on the thread that owns it, has handled it and answered. On Windows this is a window and
// SendMessageA; elsewhere a MessageChannel.
#pragma once

#include <cstdint>

namespace brisko::platform {

class Notifier {
public:
    virtual ~Notifier() = default;
    // Returns the receiver's answer once its handler has run. Called from the owning thread itself, the
    // handler runs at once, as SendMessageA does for a window of the calling thread.
    virtual std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

}  // namespace brisko::platform
