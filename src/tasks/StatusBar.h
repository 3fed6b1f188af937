#pragma once
// The main window's status bar "状态条1" as task code writes it. UI thread only.

#include <string>

namespace tasks {

class StatusBar {
 public:
  virtual ~StatusBar() = default;
  virtual void SetPartText(int part, const std::string& text) = 0;
};

}  // namespace tasks
