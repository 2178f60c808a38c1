// Status codes of the platform services. They are the Windows error numbers, so engine code reads like
// the Win32 calls it stands for and a status can be logged or compared with Windows documentation as is.
#pragma once

#include <cstdint>

namespace brisko::platform {

using Status = std::uint32_t;

inline constexpr Status kOk = 0;                    // ERROR_SUCCESS
inline constexpr Status kFileNotFound = 2;          // ERROR_FILE_NOT_FOUND
inline constexpr Status kPathNotFound = 3;          // ERROR_PATH_NOT_FOUND
inline constexpr Status kAccessDenied = 5;          // ERROR_ACCESS_DENIED
inline constexpr Status kInvalidHandle = 6;         // ERROR_INVALID_HANDLE
inline constexpr Status kNotEnoughMemory = 8;       // ERROR_NOT_ENOUGH_MEMORY
inline constexpr Status kInvalidData = 13;          // ERROR_INVALID_DATA
inline constexpr Status kNotReady = 21;             // ERROR_NOT_READY (no disc in the drive)
inline constexpr Status kNoMoreFiles = 18;          // ERROR_NO_MORE_FILES
inline constexpr Status kSharingViolation = 32;     // ERROR_SHARING_VIOLATION
inline constexpr Status kHandleEof = 38;            // ERROR_HANDLE_EOF
inline constexpr Status kNotSupported = 50;         // ERROR_NOT_SUPPORTED
inline constexpr Status kFileExists = 80;           // ERROR_FILE_EXISTS
inline constexpr Status kInvalidParameter = 87;     // ERROR_INVALID_PARAMETER
inline constexpr Status kInsufficientBuffer = 122;  // ERROR_INSUFFICIENT_BUFFER
inline constexpr Status kInvalidName = 123;         // ERROR_INVALID_NAME
inline constexpr Status kDirNotEmpty = 145;         // ERROR_DIR_NOT_EMPTY
inline constexpr Status kBadPathname = 161;         // ERROR_BAD_PATHNAME
inline constexpr Status kAlreadyExists = 183;       // ERROR_ALREADY_EXISTS
inline constexpr Status kMoreData = 234;            // ERROR_MORE_DATA
inline constexpr Status kNoMoreItems = 259;         // ERROR_NO_MORE_ITEMS
inline constexpr Status kBadKey = 1010;             // ERROR_BADKEY
inline constexpr Status kCantOpen = 1011;           // ERROR_CANTOPEN
inline constexpr Status kCantRead = 1012;           // ERROR_CANTREAD
inline constexpr Status kCantWrite = 1013;          // ERROR_CANTWRITE
inline constexpr Status kKeyDeleted = 1018;         // ERROR_KEY_DELETED
inline constexpr Status kPrivilegeNotHeld = 1314;   // ERROR_PRIVILEGE_NOT_HELD

}  // namespace brisko::platform
