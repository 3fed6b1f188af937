#pragma once
// The settings panel's boxes as task code reads and writes them: the speed box
// "编辑框_下载速度", the save path box "编辑框_储存路径" (GBK, ends with "/")
// and the automatic-start box "选择框1". UI thread only.

#include <string>

namespace tasks {

class SettingsView {
 public:
  virtual ~SettingsView() = default;
  virtual std::string SpeedText() const = 0;
  virtual void SetSpeedText(const std::string& text) = 0;
  virtual std::string SaveDirectory() const = 0;
  virtual void SetSaveDirectory(const std::string& directory) = 0;
  virtual bool AutoStart() const = 0;
  virtual void SetAutoStart(bool on) = 0;
};

}  // namespace tasks
