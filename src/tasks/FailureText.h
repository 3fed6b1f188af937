#pragma once
// The message a failed task's row shows. GBK; pure, any thread.

#include <cstdint>
#include <string>

namespace tasks {

// "下载失败（错误 N）", followed by "：" and a short reason for the engine's
// known fail codes.
std::string FailureText(std::int32_t failCode);

}  // namespace tasks
