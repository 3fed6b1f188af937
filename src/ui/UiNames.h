#pragma once
// The control names of the two windows, each the objectName of its widget
// (tests and tools find the controls by them). UTF-8.

#include <array>

namespace ui::names {

// Main window.
inline constexpr const char* kSettingsGroup = "分组框1";
inline constexpr const char* kShowBatchButton = "按钮1";
inline constexpr const char* kTabs = "高级选择夹1";
inline constexpr const char* kDownloadList = "下载列表框";
inline constexpr const char* kCompletedList = "完成列表框";
inline constexpr const char* kSiteNotesGroup = "分组框3";
inline constexpr const char* kNotice = "标签1";
inline constexpr const char* kStatusBar = "状态条1";
inline constexpr const char* kTimer = "时钟1";
inline constexpr const char* kTaskMenu = "操作";
inline constexpr const char* kLogMenu = "日志";
// The site notes, site A to site H; site G's line is the one that clears.
inline constexpr std::array<const char*, 8> kSiteNotes = {"透明标签1",  "透明标签5", "透明标签6",
                                                          "透明标签7",  "透明标签8", "透明标签9",
                                                          "透明标签10", "透明标签11"};
inline constexpr int kClearingSite = 6;

// Settings panel (inside "分组框1").
inline constexpr const char* kSpeedCaption = "透明标签2";
inline constexpr const char* kSpeedBox = "编辑框_下载速度";
inline constexpr const char* kSpeedUnit = "透明标签4";
inline constexpr const char* kAutoStart = "选择框1";
inline constexpr const char* kDirectoryCaption = "透明标签3";
inline constexpr const char* kDirectoryBox = "编辑框_储存路径";
inline constexpr const char* kBrowse = "透明标签_浏览";
inline constexpr const char* kApply = "按钮2";

// Batch input window.
inline constexpr const char* kBatchInput = "编辑框1";
inline constexpr const char* kBatchCaption = "标签1";
inline constexpr const char* kKeepInFront = "选择框1";
inline constexpr const char* kStartButton = "按钮1";

}  // namespace ui::names
