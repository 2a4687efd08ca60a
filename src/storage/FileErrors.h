#pragma once
// The three error codes the file layer makes itself; any other non-zero result
// is the system's own error code. 0 means success.
#include <cstdint>

namespace Brisvane {

using ErrorCode = std::uint32_t;

inline constexpr ErrorCode errorSuccess = 0;
// The system's codes for a file or a folder on its path that is not there.
inline constexpr ErrorCode errorFileNotFound = 2;
inline constexpr ErrorCode errorPathNotFound = 3;
inline constexpr ErrorCode errorWriteFault = 29; // a write failed
inline constexpr ErrorCode errorReadFault = 30;  // the reader refuses the file
inline constexpr ErrorCode errorCannotMake = 82; // a folder on the way could not be made

} // namespace Brisvane
