#include "resolve/SiteRules.h"

#include <array>
#include <vector>

#include "resolve/FetchPage.h"
#include "resolve/Unescape.h"
#include "text/Text.h"

namespace resolve {
namespace {

using text::TextBetween;

std::string Entry(std::string_view media, std::string_view title, std::string_view extension,
                  std::string_view tag) {
  std::string entry;
  entry.reserve(media.size() + title.size() + extension.size() + tag.size() + 2);
  entry.append(media).append("|").append(title).append(extension).append("|").append(tag);
  return entry;
}

// Sites A and B hold title and media path in one piece with a separator between.
std::optional<std::pair<std::string, std::string>> TitleAndPath(std::string_view piece,
                                                                std::string_view separator) {
  const std::vector<std::string> parts =
      text::Split(text::ReplaceAll(piece, separator, "|", true), "|");
  if (parts.size() < 2) return std::nullopt;
  return std::pair{parts[0], parts[1]};
}

std::optional<std::string> SiteA(std::string_view line, const SiteEndpoints& site) {
  const std::string page = FetchPage(line);
  const auto cut = TitleAndPath(TextBetween(page, "var list=[{title:\"", ".m4a\"}];"),
                                "\",artist:\"-\",m4a: s_str+\"");
  if (!cut) return std::nullopt;
  return Entry("http://" + site.mediaHost + "/mp3" + cut->second + ".mp3", cut->first, ".mp3",
               site.tag);
}

std::optional<std::string> SiteB(std::string_view line, const SiteEndpoints& site) {
  const std::string page = text::Utf8ToGbk(FetchPage(line));
  const auto cut = TitleAndPath(TextBetween(page, "name: '", "', good"), "', file: '");
  if (!cut) return std::nullopt;
  return Entry("http://" + site.mediaHost + "/djmusic/" + cut->second + ".mp4", cut->first, ".mp4",
               site.tag);
}

std::optional<std::string> SiteC(std::string_view line, const SiteEndpoints& site) {
  const std::string page = FetchPage(line);
  const std::string path = TextBetween(page, "player(\"", "\");get");
  const std::string title = TextBetween(page, "html', '", "' ,'");
  return Entry("http://" + site.mediaHost + "/" + path, title, ".mp3", site.tag);
}

std::optional<std::string> SiteD(std::string_view line, const SiteEndpoints& site) {
  const std::string page = text::Utf8ToGbk(FetchPage(line));
  const std::string address = TextBetween(page, "var url = \"", "\";");
  const std::string title = TextBetween(page, "<div class=\"tie\"><h2>", "</h2></div>");
  return Entry(address, title, ".mp3", site.tag);
}

// Three requests, in this order: the script page (for every line anew), the
// play page, the visitor-id page on the host the script names.
std::optional<std::string> SiteE(std::string_view line, const SiteEndpoints& site) {
  const std::string script = FetchPage("http://" + site.scriptHost + "/i/c.php");
  const std::string base = TextBetween(script, "var ikdj=\"", "\";") + "/";
  const std::string ik123 = TextBetween(script, "var ik123=\"", "\"; var ikdj");
  const std::string page = FetchPage(line);
  const std::string furl = TextBetween(page, ";var furl=\"", ".flv\";");
  const std::string visitor = FetchPage("http://" + base + "_sys_vw.vhtml?js=yes");
  const std::string vsid = TextBetween(visitor, "VW_VSID=\"", "\";");
  const std::string title = TextBetween(page, "</TITLE><meta name=\"keywords\" content=\"",
                                        "\" /><meta name=\"description");
  return Entry("http://" + base + ik123 + furl + ".ik?vsid=" + vsid + "&name=" + site.webHostName,
               title, ".flv", site.tag);
}

std::optional<std::string> SiteF(std::string_view line, const SiteEndpoints& site) {
  const std::string page = FetchPage(line);
  // The path ends with its dot; only a carriage return after the quote ends it.
  const std::string path = TextBetween(page, "var righturl=\"", "m4a\";\r");
  const std::string title = TextBetween(page, "var list=[{title:\"", "\",artist:");
  return Entry("http://" + site.mediaHost + "/" + path + "mp3", title, ".mp3", site.tag);
}

// The play page is not fetched: the song id in the line names a playlist answer.
std::optional<std::string> SiteG(std::string_view line, const SiteEndpoints& site) {
  const std::string id = TextBetween(line, "_", ".html");
  const std::string answer =
      UnescapeText(FetchPage("http://" + site.webHost + "/uc.php?m=uc&a=playlistadd&songid=" + id));
  const std::string path = TextBetween(answer, "Dj_Url\":\"", "m4a\"");
  const std::string title = TextBetween(answer, "\"songname\":\"", "\",\"Dj_Url");
  return Entry("http://" + site.mediaHost + "/" + site.mediaPath + path + "mp3", title, ".mp3",
               site.tag);
}

std::optional<std::string> SiteH(std::string_view line, const SiteEndpoints& site) {
  const std::string page = FetchPage(line);
  const std::string link = TextBetween(
      page, "<li class=\"down\"><a href=\"javascript:;\" onClick=\"window.open('", "');\">");
  const std::string download = FetchPage("http://" + site.webHost + link);
  const std::string address = TextBetween(download, "var url = \"", "\";");
  const std::string title = TextBetween(download, "var djname = \"", "\";");
  return Entry(address, title, ".mp3", site.tag);
}

constexpr std::array<SiteRule, kSiteCount> kRules = {{
    {0, SiteA},
    {1, SiteB},
    {2, SiteC},
    {3, SiteD},
    {4, SiteE},
    {5, SiteF},
    {6, SiteG},
    {7, SiteH},
}};

}  // namespace

std::span<const SiteRule> SiteRules() { return kRules; }

bool Matches(std::string_view line, const SiteEndpoints& site) {
  return !site.tag.empty() && text::Contains(line, site.tag);
}

}  // namespace resolve
