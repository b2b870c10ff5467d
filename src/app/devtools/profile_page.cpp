#include "profile_page.h"

#include <algorithm>

namespace basic::devtools {

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

namespace {

// Kept inline: the page must show the same wherever it is copied to.
constexpr const char* kStyle[] = {
    "body { font-family: sans-serif; margin: 1em 2em; }",
    "table { border-collapse: collapse; font-family: monospace; }",
    "th, td { padding: 0.1em 0.7em; text-align: right; border-bottom: 1px solid #ddd; }",
    "th { background: #eee; }",
    "td.text { text-align: left; white-space: pre; }",
    "tr.idle { color: #888; }",
};

// The hottest line is shaded fully, the others in proportion to their time,
// so that even a long listing shows where to look.
std::string Shading(double percent, double hottest) {
  if (percent <= 0 || hottest <= 0) return "";
  const double strength = std::clamp(percent / hottest, 0.02, 1.0);
  return " style=\"background-color: rgba(255, 120, 0, " + Fixed("%.3f", strength) + ")\"";
}

std::string Cell(std::string_view text, std::string_view cls = "") {
  std::string cell = "<td";
  if (!cls.empty()) cell += " class=\"" + std::string(cls) + "\"";
  return cell + ">" + std::string(text) + "</td>";
}

}  // namespace

std::string ProfilePage(const ProfileSummary& profile, std::string_view title,
                        std::string_view lineEnd) {
  const std::string end(lineEnd);
  const std::string name = EscapeHtml(title);
  std::string page = "<!DOCTYPE html>" + end + "<html lang=\"en\">" + end + "<head>" + end;
  page += "<meta charset=\"utf-8\">" + end;
  page += "<title>Profile of " + name + "</title>" + end + "<style>" + end;
  for (const char* rule : kStyle) page += std::string(rule) + end;
  page += "</style>" + end + "</head>" + end + "<body>" + end;
  page += "<h1>Profile of " + name + "</h1>" + end;
  page += "<p id=\"totals\">" + TotalsText(profile.statements, profile.total) + "</p>" + end;

  double hottest = 0;
  for (const ProfiledLine& line : profile.lines)
    hottest = std::max(hottest, PercentOf(line.time, profile.total));
  page += "<table>" + end;
  page +=
      "<thead><tr><th>line</th><th>runs</th><th>statements</th><th>time</th>"
      "<th class=\"text\">text</th></tr></thead>" +
      end + "<tbody>" + end;
  for (const ProfiledLine& line : profile.lines) {
    const double percent = PercentOf(line.time, profile.total);
    page += "<tr id=\"line-" + std::to_string(line.number) + "\"";
    if (line.statements == 0) page += " class=\"idle\"";
    page += Shading(percent, hottest) + ">";
    page += Cell(std::to_string(line.number));
    page += Cell(std::to_string(line.runs));
    page += Cell(std::to_string(line.statements));
    page += Cell(Fixed("%.1f%%", percent));
    page += Cell(EscapeHtml(line.text), "text");
    page += "</tr>" + end;
  }
  page += "</tbody>" + end + "</table>" + end;
  if (profile.immediate.count() > 0)
    page += "<p>Immediate lines (no number): " +
            Fixed("%.1f%%", PercentOf(profile.immediate, profile.total)) + " of the time.</p>" +
            end;
  page += "</body>" + end + "</html>" + end;
  return page;
}

}  // namespace basic::devtools
