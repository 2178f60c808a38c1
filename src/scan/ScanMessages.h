// The numbered messages the scan and repair workers send to their notify window.
#pragma once

#include <cstdint>

namespace brisko::scan {

inline constexpr std::uint32_t kMsgScanStart = 1594;        // 0x63A (0, 0): reset the page
inline constexpr std::uint32_t kMsgScanFinished = 1595;     // 0x63B (0, 0)
inline constexpr std::uint32_t kMsgEngineStart = 1607;      // 0x647 (engine, engine)
inline constexpr std::uint32_t kMsgCategoryStart = 1608;    // 0x648 (engine, category)
inline constexpr std::uint32_t kMsgCategoryEnd = 1609;      // 0x649 (engine, category)
inline constexpr std::uint32_t kMsgCategorySkipped = 1610;  // 0x64A (engine, category): disabled
inline constexpr std::uint32_t kMsgProblemFound =
    1611;  // 0x64B (engine, CRegistryProblem*): owned by the receiver
inline constexpr std::uint32_t kMsgCurrentItem = 1612;  // 0x64C (engine, const char*): valid during the call
inline constexpr std::uint32_t kMsgEngineDone = 1613;   // 0x64D (engine, engine)

}  // namespace brisko::scan
