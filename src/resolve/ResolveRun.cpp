#include "resolve/ResolveRun.h"

#include "resolve/SiteRules.h"
#include "text/Text.h"

namespace resolve {
namespace {

const std::string& ProgressCaption() {
  static const std::string s = text::Gbk("正在解析下载地址，请稍候...   ");
  return s;
}

const std::string& CreatingCaption() {
  static const std::string s = text::Gbk("解析完毕，正在创建任务,请稍候...");
  return s;
}

}  // namespace

std::vector<std::string> ResolvePhase(RunHost& host, const SiteTable& sites) {
  std::vector<std::string> entries;
  const std::vector<std::string> lines = text::Split(host.ReadInputText(), "\r\n");
  const std::string total = std::to_string(lines.size());
  if (host.Cancelled()) return entries;
  host.SetCaption(ProgressCaption() + "0/" + total);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    for (const SiteRule& rule : SiteRules()) {
      if (host.Cancelled()) return entries;
      const SiteEndpoints& site = sites.sites[static_cast<std::size_t>(rule.site)];
      if (!Matches(lines[i], site)) continue;
      // A site A or B page without title and path gives no entry; the line
      // still counts as worked on.
      if (auto entry = rule.resolve(lines[i], site)) entries.push_back(std::move(*entry));
      host.SetCaption(ProgressCaption() + std::to_string(i + 1) + "/" + total);
    }
  }
  return entries;
}

void ResolveRun(RunHost& host, const SiteTable& sites) {
  const std::vector<std::string> entries = ResolvePhase(host, sites);
  if (host.Cancelled()) return;
  host.SetCaption(CreatingCaption());
  for (const std::string& entry : entries) {
    if (host.Cancelled()) return;
    std::vector<std::string> parts = text::Split(entry, "|");
    parts.resize(std::max<std::size_t>(parts.size(), 3));
    const std::string saveDirectory = host.ReadSaveDirectory();
    host.CreateDownloadTask(parts[0], parts[1], saveDirectory, parts[2]);
  }
  if (host.Cancelled()) return;
  host.HideWindow();
  host.ClearInputAndCaption();
  host.EnableControls();
  host.SetSpeedLimit(text::LeadingInteger(host.ReadSpeedText(), true));
}

}  // namespace resolve
