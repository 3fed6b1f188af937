#pragma once
// A resolve run: the resolve phase turns the pasted lines into entries, the
// creation phase hands each entry to task creation and resets the batch window.
//
// Both phases run on the resolve worker and reach the windows, task creation and
// the engine only through RunHost, one call per step in the order of the run.

#include <cstdint>
#include <string>
#include <vector>

#include "resolve/SiteTable.h"

namespace resolve {

class RunHost {  // called on the resolve worker; the UI implementation hops to the UI thread
 public:
  virtual ~RunHost() = default;
  virtual std::string ReadInputText() = 0;              // 编辑框1, lines joined by CRLF (GBK)
  virtual void SetCaption(const std::string& gbk) = 0;  // 标签1
  virtual std::string ReadSaveDirectory() = 0;          // main window's 编辑框_储存路径
  virtual void CreateDownloadTask(const std::string& mediaUrl, const std::string& fileName,
                                  const std::string& saveDirectory,
                                  const std::string& sourceTag) = 0;
  virtual void HideWindow() = 0;
  virtual void ClearInputAndCaption() = 0;            // 编辑框1 = "", 标签1 = ""
  virtual void EnableControls() = 0;                  // 按钮1, then 编辑框1
  virtual std::string ReadSpeedText() = 0;            // main window's 编辑框_下载速度
  virtual void SetSpeedLimit(std::int32_t kbps) = 0;  // XL_SetSpeedLimit
  virtual bool Cancelled() { return false; }          // program is closing: stop at once
};

// Reads the input once, shows "0/N", tries every rule on every line in order and
// shows "i/N" after each rule that matched. Returns the entries in line order,
// and within a line in rule order.
std::vector<std::string> ResolvePhase(RunHost& host, const SiteTable& sites);

// The resolve phase, then the creation phase. Returns early, touching nothing
// more, once Cancelled() says so.
void ResolveRun(RunHost& host, const SiteTable& sites);

}  // namespace resolve
