#pragma once
// Every text the two windows show, in one place. Source files are UTF-8: these
// are UTF-8 literals for Qt; the task and resolve code get them in code page
// 936 through text::Gbk at the widget edge.

namespace ui::texts {

// Main window.
inline constexpr const char* kMainCaption = "Velmira V201605101553";
inline constexpr const char* kSettingsGroup = "下载设置";
inline constexpr const char* kShowBatchButton = "下 载\n\n舞 曲";
inline constexpr const char* kPageDownloading = "正在下载";
inline constexpr const char* kPageCompleted = "完成下载";
inline constexpr const char* kPageSites = "站点说明";
inline constexpr const char* kSiteNotesGroup = "舞曲下载说明";
inline constexpr const char* kNotice =
    "特别声明：本工具下载的歌曲部分站点为试听音源，并非全是320kbps "
    "本软件仅提供学习，请勿使用商业用途";
inline constexpr const char* kStatusSpeedStart = "0 KB/s";
inline constexpr const char* kStatusFixed =
    "智能分析下载地址，自动转换格式，支持多个舞曲音乐网，使用高速下载引擎下载，更快、更多、更稳。";

// Columns of the two lists.
inline constexpr const char* kColumnTrack = "舞曲名称";
inline constexpr const char* kColumnSpeed = "下载速度";
inline constexpr const char* kColumnProgress = "下载进度";
inline constexpr const char* kColumnDownloaded = "下载大小";
inline constexpr const char* kColumnFileSize = "文件大小";
inline constexpr const char* kColumnTrackSource = "舞曲来源";
inline constexpr const char* kColumnCompletedAt = "完成时间";
inline constexpr const char* kColumnSongSource = "歌曲来源";
inline constexpr const char* kColumnDirectory = "下载目录";

// Site notes: tag, kSiteFormat, format, kSiteAddress, example, [kSiteConverted].
inline constexpr const char* kSiteFormat = "下载格式  ";
inline constexpr const char* kSiteAddress = "  下载地址：播放地址  例：";
inline constexpr const char* kSiteConverted = " （ 自动转换到MP3格式 ）";

// Settings panel.
inline constexpr const char* kSaveFolderName = "DJ舞曲";  // under the Music folder
inline constexpr const char* kSpeedCaption = "下载限速：";
inline constexpr const char* kSpeedDesign = "9999";
inline constexpr const char* kSpeedUnit = "KB/s";
inline constexpr const char* kAutoStart = "启动自动开始下载";
inline constexpr const char* kDirectoryCaption = "下载目录：";
inline constexpr const char* kBrowse = "浏览";
inline constexpr const char* kApply = "应 用";
inline constexpr const char* kSpeedReset = "99999";
inline constexpr const char* kInfoCaption = "信息：";
inline constexpr const char* kSpeedEmpty = "速度限制不能为空！";
inline constexpr const char* kSpeedTooLow = "速度限制不能小于100KB！";
inline constexpr const char* kPickerTitle = "保存文件";

// Menus and clearing.
inline constexpr const char* kTaskMenu = "操作";
inline constexpr const char* kDeleteTask = "删除任务";
inline constexpr const char* kStartAll = "全部开始";
inline constexpr const char* kPauseAll = "全部暂停";
inline constexpr const char* kLogMenu = "日志";
inline constexpr const char* kClearLog = "清空日志";
inline constexpr const char* kClearCaption = "清理";
inline constexpr const char* kClearQuestion = "是否清空下载记录？";

// Batch input window.
inline constexpr const char* kBatchCaption =
    "Korvane（一个播放地址一行，可同时下载不同舞曲网舞曲）";
inline constexpr const char* kBatchWaiting = "正在等待解析...";
inline constexpr const char* kKeepInFront = "显示在前";
inline constexpr const char* kStartDownload = "开始下载";

// Start-up failure (ours: the program cannot run without its engine).
inline constexpr const char* kEngineMissingCaption = "Velmira";
inline constexpr const char* kEngineMissing = "无法加载下载引擎：\n%1";

}  // namespace ui::texts
