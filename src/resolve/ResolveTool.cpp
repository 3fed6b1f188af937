// velmira-resolve: lines on standard input (UTF-8), one entry a line on standard
// output (UTF-8), the progress captions on standard error. For whoever keeps the
// site table in step with the sites.

#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

#include "resolve/ResolveRun.h"
#include "resolve/SiteTable.h"
#include "text/Text.h"

namespace {

class ToolHost : public resolve::RunHost {
 public:
  explicit ToolHost(std::string input) : input_(std::move(input)) {}
  std::string ReadInputText() override { return input_; }
  void SetCaption(const std::string& gbk) override {
    const std::string line = text::GbkToUtf8(gbk) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
  }
  // The creation phase is not run by the tool.
  std::string ReadSaveDirectory() override { return {}; }
  void CreateDownloadTask(const std::string&, const std::string&, const std::string&,
                          const std::string&) override {}
  void HideWindow() override {}
  void ClearInputAndCaption() override {}
  void EnableControls() override {}
  std::string ReadSpeedText() override { return {}; }
  void SetSpeedLimit(std::int32_t) override {}

 private:
  std::string input_;
};

int Usage() {
  std::fputs(
      "usage: velmira-resolve [--sites FILE] < lines\n"
      "Resolves play-page addresses (one a line, UTF-8) by the site rules and prints\n"
      "one entry a line: media address|file name|source tag. Progress goes to stderr.\n"
      "FILE sets endpoints, one a line: <site letter A-H> <key> <value>, keys tag,\n"
      "media_host, web_host, script_host, web_host_name, media_path; # starts a comment.\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  resolve::SiteTable sites = resolve::BuiltInSites();
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--sites" && i + 1 < argc) {
      if (const auto error = resolve::LoadSiteFile(argv[++i], sites)) {
        std::fprintf(stderr, "velmira-resolve: %s: %s\n", argv[i], error->c_str());
        return 2;
      }
    } else {
      return Usage();
    }
  }

  const std::string input{std::istreambuf_iterator<char>(std::cin), {}};
  std::string joined;
  for (std::string line : text::Split(text::Utf8ToGbk(input), "\n")) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    joined += line + "\r\n";  // a trailing line break adds no line
  }
  ToolHost host(std::move(joined));
  std::string out;
  for (const std::string& entry : resolve::ResolvePhase(host, sites)) {
    out += text::GbkToUtf8(entry);
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}
