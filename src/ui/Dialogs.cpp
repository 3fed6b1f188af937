#include "ui/Dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace ui {

void QtDialogs::Inform(const QString& caption, const QString& message) {
  QMessageBox box(QMessageBox::NoIcon, caption, message, QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

bool QtDialogs::Confirm(const QString& caption, const QString& question) {
  QMessageBox box(QMessageBox::NoIcon, caption, question, QMessageBox::Yes | QMessageBox::No);
  box.setWindowModality(Qt::ApplicationModal);
  return box.exec() == QMessageBox::Yes;
}

QString QtDialogs::PickFolder(const QString& title, const QString& start) {
  return QFileDialog::getExistingDirectory(nullptr, title, start, QFileDialog::ShowDirsOnly);
}

void QtDialogs::OpenFolder(const QString& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace ui
