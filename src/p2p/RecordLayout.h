#pragma once
// Byte offsets of the two packed records exchanged through the C interface.
// Integers are little-endian; texts are UTF-16LE ended by a zero unit inside the field.

#include <cstddef>

namespace p2p::layout {

// TaskParamRecord, read by XL_CreateTask and XL_DelTempFile.
inline constexpr std::size_t kParamSize = 26564;
inline constexpr std::size_t kParamUrl = 4;
inline constexpr std::size_t kParamUrlWidth = 4168;
inline constexpr std::size_t kParamFilename = 16532;
inline constexpr std::size_t kParamFilenameWidth = 520;
inline constexpr std::size_t kParamSavePath = 17572;
inline constexpr std::size_t kParamSavePathWidth = 520;
inline constexpr std::size_t kParamIsResume = 18368;  // lowest byte of a 4-byte field

// TaskInfoRecord, filled by XL_QueryTaskInfoEx.
inline constexpr std::size_t kInfoSize = 1429;
inline constexpr std::size_t kInfoStat = 0;
inline constexpr std::size_t kInfoFailCode = 4;
inline constexpr std::size_t kInfoFilename = 8;
inline constexpr std::size_t kInfoFilenameWidth = 520;
inline constexpr std::size_t kInfoTotalSize = 1048;
inline constexpr std::size_t kInfoTotalDownload = 1056;
inline constexpr std::size_t kInfoPercent = 1064;
inline constexpr std::size_t kInfoSpeed = 1152;

}  // namespace p2p::layout
