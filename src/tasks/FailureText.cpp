#include "tasks/FailureText.h"

#include <array>
#include <string_view>

#include "text/Text.h"

namespace tasks {
namespace {

// Indexed by the engine's fail code; the numbers never change.
constexpr std::array<std::string_view, 12> kReasons{
    "",
    "下载地址无效",
    "无法创建保存目录或文件",
    "没有可用的文件名",
    "服务器返回错误状态",
    "网络连接失败",
    "服务器错误",
    "文件数据不完整",
    "写入文件失败",
    "安全连接失败",
    "服务器响应异常",
    "重定向次数过多",
};

}  // namespace

std::string FailureText(std::int32_t failCode) {
  std::string utf8 = "下载失败（错误 " + std::to_string(failCode) + "）";
  if (failCode > 0 && static_cast<std::size_t>(failCode) < kReasons.size()) {
    utf8 += "：";
    utf8 += kReasons[static_cast<std::size_t>(failCode)];
  }
  return text::Utf8ToGbk(utf8);
}

}  // namespace tasks
