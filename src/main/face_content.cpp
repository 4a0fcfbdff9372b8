// Face content parser and the built-in face; see face_content.h.
#include "main/face_content.h"

#include <charconv>

#include "base/text_util.h"

namespace quelvar {

namespace {

// The same content as the shipped "\RQLV.swf"; used when that file is missing or damaged.
constexpr std::string_view kBuiltInText = R"FACE(QUELVAR-FACE 1
; Quelvar's main window face. See src/main/face_content.h for the layout of this file.
; Positions are pixels at 96 dpi in the face's coordinates (709 x 513); the face sits
; 1 pixel left of and 38 pixels above the window's client area, so the visible face
; starts at (1, 38).

title: Quelvar | Connection tuner and memory watcher
about: 1.0.0 | Built by the Brannoc team for everyone still dialling in.
home: Welcome to Quelvar | Quelvar tunes your Internet connection, keeps your line alive and watches your memory. Pick a task on the left; every change is backed up first.
titlebar: 1,38,708,48

group: Quelvar | Tune TCP/IP and your browser for your connection, with a ready-made mode or step by step, and restore earlier settings from backups.
button: 12,116,192,26 | &Wizard Mode | IDC_FS_wizardmode | Pick one of eight ready-made tuning modes
button: 12,144,192,26 | &Advanced Mode | IDC_FS_advanceddmode | Set every tuning value yourself, page by page
button: 12,172,192,26 | &Backup | IDC_FS_backupmanager | List, restore or delete the backups of earlier settings

group: Net Pinger | Keep a dial-up line from hanging up by pinging a host at a fixed interval.
button: 12,226,192,26 | &Ping Settings | IDC_FS_pingsettings | Choose the host and interval that keep your line alive

group: Ram Booster | Watch processor and memory use live, free memory on demand and sound an alarm when it runs low.
button: 12,282,192,26 | System &Status | IDC_FS_systemstatus | Live graphs of processor and memory use
button: 12,310,192,26 | &Ram Configuration | IDC_FS_ramconfiguration | Set the low-memory alarm and free memory automatically

group: System Settings | Open the Windows settings that matter for your connection.
button: 12,366,192,26 | &Internet Properties | IDC_FS_internetproperties | Open the Internet Properties of Windows
button: 12,394,192,26 | S&ystem Properties | IDC_FS_systemproperties | Open the System Properties of Windows
button: 12,422,192,26 | &Modems Settings | IDC_FS_modemsettings | Open the modem settings of Windows
button: 12,450,192,26 | &Network Settings | IDC_FS_networksettings | Open the network settings of Windows

group:
button: 232,49,84,26 | H&ome Page | IDC_FS_home | Back to the home page | home
button: 318,49,100,26 | Main Se&ttings | IDC_FS_settings | Start Quelvar with Windows or in the tray
button: 420,49,56,26 | &Help | IDC_FS_help | Open Quelvar's help
button: 478,49,66,26 | Abo&ut | IDC_FS_hide | About Quelvar | about

window: 562,46,34,32 | Restart Windows | IDC_FS_restart | Restart Windows now
window: 598,46,34,32 | Hi&de to tray | IDC_FS_tray | Hide Quelvar in the notification area
window: 634,46,34,32 | Minimi&ze | IDC_FS_minimize | Minimise the window
window: 670,46,34,32 | &Close | IDC_FS_close | Close Quelvar
)FACE";

std::vector<std::string> SplitFields(std::string_view text) {
  std::vector<std::string> fields;
  while (true) {
    const auto bar = text.find('|');
    fields.emplace_back(Trim(text.substr(0, bar)));
    if (bar == std::string_view::npos) break;
    text.remove_prefix(bar + 1);
  }
  return fields;
}

std::optional<FaceRect> ParseRect(std::string_view text) {
  int values[4] = {};
  for (int i = 0; i < 4; ++i) {
    text = Trim(text);
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(begin, end, values[i]);
    if (error != std::errc() || next == begin) return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(next - begin));
    text = Trim(text);
    if (i < 3) {
      if (text.empty() || text.front() != ',') return std::nullopt;
      text.remove_prefix(1);
    }
  }
  if (!text.empty()) return std::nullopt;
  FaceRect rect{values[0], values[1], values[2], values[3]};
  // Compared as room left, so that a huge width or height cannot overflow the sum.
  if (rect.x < 0 || rect.y < 0 || rect.width <= 0 || rect.height <= 0 ||
      rect.width > kFaceWidth - rect.x || rect.height > kFaceHeight - rect.y) {
    return std::nullopt;
  }
  return rect;
}

}  // namespace

std::string StripMnemonic(std::string_view caption) {
  std::string plain;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        plain += '&';
        ++i;
      }
      continue;
    }
    plain += caption[i];
  }
  return plain;
}

FaceParseResult ParseFaceContent(std::string_view text) {
  FaceParseResult result;
  FaceContent content;
  int lineNumber = 0;
  int currentGroup = -1;
  bool sawHeader = false;
  auto fail = [&](const std::string& what) {
    result.error = "line " + std::to_string(lineNumber) + ": " + what;
    return result;
  };

  std::string_view line;
  while (NextTrimmedLine(text, line)) {
    ++lineNumber;
    if (!sawHeader) {
      if (line != "QUELVAR-FACE 1") return fail("not a face file (expected \"QUELVAR-FACE 1\")");
      sawHeader = true;
      continue;
    }
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;

    const auto colon = line.find(':');
    if (colon == std::string_view::npos) return fail("expected \"keyword: fields\"");
    const std::string_view keyword = Trim(line.substr(0, colon));
    const std::vector<std::string> fields = SplitFields(line.substr(colon + 1));

    if (keyword == "title" || keyword == "about" || keyword == "home") {
      if (fields.size() != 2) return fail(std::string(keyword) + " takes two fields");
      std::string& first = keyword == "title"   ? content.title
                           : keyword == "about" ? content.version
                                                : content.homeHeading;
      std::string& second = keyword == "title"   ? content.tagline
                            : keyword == "about" ? content.credits
                                                 : content.homeText;
      first = fields[0];
      second = fields[1];
    } else if (keyword == "titlebar") {
      const auto rect = fields.size() == 1 ? ParseRect(fields[0]) : std::nullopt;
      if (!rect) return fail("titlebar takes one position x,y,w,h inside the face");
      content.titleBar = *rect;
    } else if (keyword == "group") {
      if (fields.size() == 1 && fields[0].empty()) {
        currentGroup = -1;
        continue;
      }
      if (fields.size() != 2 || fields[0].empty()) return fail("group takes a caption and a description");
      content.groups.push_back({fields[0], fields[1]});
      currentGroup = static_cast<int>(content.groups.size()) - 1;
    } else if (keyword == "button" || keyword == "window") {
      const bool window = keyword == "window";
      if (fields.size() != 4 && !(fields.size() == 5 && !window)) {
        return fail(std::string(keyword) + " takes position | caption | command | tool tip" +
                    (window ? "" : " [| view]"));
      }
      FaceButton button;
      const auto rect = ParseRect(fields[0]);
      if (!rect) return fail("position must be x,y,w,h inside the face");
      button.rect = *rect;
      button.caption = fields[1];
      button.command = fields[2];
      button.toolTip = fields[3];
      if (button.caption.empty() || button.command.empty()) {
        return fail("a button needs a caption and a command");
      }
      if (fields.size() == 5) {
        if (fields[4] == "home") button.view = FaceView::Home;
        else if (fields[4] == "about") button.view = FaceView::About;
        else return fail("unknown view \"" + fields[4] + "\" (home or about)");
      }
      button.titleBar = window;
      button.group = window ? -1 : currentGroup;
      content.buttons.push_back(std::move(button));
    } else {
      return fail("unknown keyword \"" + std::string(keyword) + "\"");
    }
  }
  if (!sawHeader) return fail("the file is empty");
  if (content.buttons.empty()) return fail("the face has no buttons");
  result.content = std::move(content);
  return result;
}

std::string_view BuiltInFaceText() { return kBuiltInText; }

const FaceContent& BuiltInFaceContent() {
  static const FaceContent content = *ParseFaceContent(kBuiltInText).content;
  return content;
}

}  // namespace quelvar
