#pragma once
// The store's field names as task code uses them (GBK, converted once), and
// the check that guards every positional access to "下载记录". UI thread only.

#include <cstdint>
#include <string>

#include "tasks/TaskContext.h"
#include "text/Text.h"

namespace tasks {

struct StoreFields {
  // "下载记录"
  std::string mediaUrl = text::Gbk("文件完整地址");
  std::string downloadName = text::Gbk("下载文件名");
  std::string downloadPath = text::Gbk("下载路径");  // also in "设置记录"
  std::string source = text::Gbk("歌曲来源");        // also in "完成下载"
  // "设置记录"
  std::string speed = text::Gbk("下载速度");
  std::string autoStart = text::Gbk("自动下载");
  // "完成下载"
  std::string fileName = text::Gbk("文件名");
  std::string completedTime = text::Gbk("完成时间");
  std::string completedDirectory = text::Gbk("下载目录");
};

inline const StoreFields& Fields() {
  static const StoreFields names;
  return names;
}

// Record i of "下载记录" belongs to entry i only while the table has one record
// per entry. Once a record could not be added (a store error while open) the
// positions no longer match, and reading or changing record p would touch
// another task's record: the table is then left alone, as if the store were
// closed, for the rest of the run.
inline bool DownloadRecordsInStep(TaskContext& ctx) {
  return ctx.store.IsOpen() && ctx.store.RecordCount(store::Table::Downloads) ==
                                   static_cast<std::int64_t>(ctx.handles.Size());
}

}  // namespace tasks
