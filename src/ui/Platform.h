#pragma once
// The few choices that differ between platforms, kept together so a Windows
// build only has to change this file. UI thread (they need a QGuiApplication).

#include <QFont>
#include <QString>

namespace ui {

// The save folder the settings panel shows before a stored one replaces it:
// the user's Music folder + "/DJ舞曲/" (always ending with the separator).
QString DefaultSaveDirectory();
// The separator the folder picker's result is made to end with.
inline constexpr char kPathSeparator = '/';
// A CJK font at the pixel size the windows were laid out for (the controls
// have fixed pixel geometry).
QFont WindowFont();

}  // namespace ui

class QWidget;
class QSize;

namespace ui {

// Windows are laid out by their outer size, frame included, as the system
// designed them. Before the first show the client gets the whole size (no
// frame known yet); once shown, where a window manager adds a frame, the
// client shrinks by it. Call from showEvent; it acts once per window.
void FitFrameToOuterSize(QWidget* window, const QSize& outer);

}  // namespace ui
