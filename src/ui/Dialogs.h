#pragma once
// The few places where the windows ask the user or hand over to the desktop,
// behind an interface so tests answer them without blocking. UI thread only.

#include <QString>

namespace ui {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A message with an OK button only, no icon, no owner window; modal.
  virtual void Inform(const QString& caption, const QString& message) = 0;
  // Yes / No, no icon, no owner window; modal. True for Yes.
  virtual bool Confirm(const QString& caption, const QString& question) = 0;
  // The folder picker (folders only); empty when cancelled.
  virtual QString PickFolder(const QString& title, const QString& start) = 0;
  // Shows a folder in the desktop's file manager.
  virtual void OpenFolder(const QString& path) = 0;
};

// The real ones: QMessageBox, QFileDialog, QDesktopServices.
class QtDialogs : public Dialogs {
 public:
  void Inform(const QString& caption, const QString& message) override;
  bool Confirm(const QString& caption, const QString& question) override;
  QString PickFolder(const QString& title, const QString& start) override;
  void OpenFolder(const QString& path) override;
};

}  // namespace ui
