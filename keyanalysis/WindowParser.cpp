#include "keyanalysis/WindowParser.h"

#include "runtime/FixedText.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace kestrix::keyanalysis {

using runtime::ltrim;
using runtime::upper;

namespace {

constexpr int StackRoom = 20;
constexpr int MenuDepthRoom = 10;

bool startsWith(const std::string& text, std::string_view prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

void message(runtime::DialogService& dialogs, std::string text, std::string caption = {})
{
    dialogs.message({std::move(text), std::move(caption), runtime::MessageIcon::Exclamation,
                     runtime::Button::Ok, runtime::Button::Ok});
}

struct ReservedKey
{
    const char* key;
    const char* description;
    const char* type;
};
constexpr std::array<ReservedKey, 14> kReserved = {{
    {"CTRLC", "Copy", "Win"},
    {"CTRLV", "Paste", "Win"},
    {"CTRLX", "Cut", "Win"},
    {"CTRLF4", "Close", "Win"},
    {"ALTF4", "Close", "Win"},
    {"CTRLF6", "Next", "Win"},
    {"ALTSPACE", "System Menu", "Win"},
    {"ALTMINUS", "MDI Child Menu", "Win"},
    {"ALTTAB", "Task Switch", "Win"},
    {"ALTESC", "Task Switch", "Win"},
    {"CTRLESC", "Task Switch", "Win"},
    {"F10KEY", "Menu", "Win"},
    {"F1KEY", "Help", "CW"},
    {"CTRLZ", "Erase", "CW"},
}};

// Line ends as the window formatter writes them: CR LF; a lone LF (another system's clipboard) counts as one.
std::string windowsLineEnds(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

} // namespace

char altLetter(const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (i + 1 < text.size() && text[i + 1] == '&') {
            ++i;
            continue;
        }
        return i + 1 < text.size() ? runtime::upperChar(text[i + 1]) : NoKey;
    }
    return NoKey;
}

namespace {

bool isWordChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == ':' || u >= 128;
}

// Where the first word of the normalised line ends: at a blank, "(" or "," outside quotes.
std::size_t firstWordEnd(std::string_view line, std::size_t start)
{
    bool quoted = false;
    for (std::size_t i = start; i < line.size(); ++i) {
        if (line[i] == '\'')
            quoted = !quoted;
        else if (!quoted && (line[i] == ' ' || line[i] == '(' || line[i] == ','))
            return i;
    }
    return line.size();
}

// The first word upper-cased, one blank after it kept, every other blank outside quotes removed.
std::string normalisedText(std::string_view line, std::size_t wordEnd)
{
    std::string out;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size() && out.size() < LineRoom; ++i) {
        const char c = line[i];
        if (c == '\'')
            quoted = !quoted;
        if (quoted || c == '\'') {
            out += c;
        } else if (c == ' ') {
            if (i == wordEnd && !out.empty())
                out += c;
        } else {
            out += i < wordEnd ? runtime::upperChar(c) : c;
        }
    }
    return out;
}

// The code of the structure a keyword opens ("" for none), as the level stack records it.
std::string structureCode(const std::string& keyword)
{
    if (keyword == "SHEET")
        return "she";
    if (keyword == "TAB")
        return "tab";
    if (keyword == "OPTION")
        return "opt";
    if (keyword == "GROUP")
        return "gro";
    if (keyword == "MENU" || keyword == "MENUBAR")
        return "men";
    if (keyword == "TOOLBAR")
        return "too";
    return {};
}

bool closesStructure(const std::string& keyword)
{
    return keyword == "END" || keyword == ".";
}

} // namespace

LineParts splitLine(std::string_view line)
{
    LineParts parts;
    std::size_t at = line.find_first_not_of(' ');
    if (at == std::string_view::npos)
        return parts;
    const std::size_t firstStart = at;
    parts.normalised = normalisedText(line, firstWordEnd(line, firstStart));
    if (line[at] == '.') {
        parts.keyword = ".";
        return parts;
    }
    while (at < line.size() && isWordChar(line[at]))
        ++at;
    const std::size_t firstEnd = at;
    std::string first(line.substr(firstStart, firstEnd - firstStart));
    // A second word after blanks makes the first one a label: "EndDate ENTRY(@d6)".
    const std::size_t next = line.find_first_not_of(' ', firstEnd);
    if (next != firstEnd && next != std::string_view::npos && isWordChar(line[next]) &&
        !std::isdigit(static_cast<unsigned char>(line[next]))) {
        std::size_t end = next;
        while (end < line.size() && isWordChar(line[end]))
            ++end;
        parts.label = std::move(first);
        parts.keyword = upper(std::string(line.substr(next, end - next)));
    } else {
        parts.keyword = upper(first);
    }
    return parts;
}

std::vector<RawLine> WindowParser::rawLines(const std::string& buffer) const
{
    std::vector<RawLine> lines;
    std::string line;
    bool quoted = false;
    const auto finish = [&] {
        if (!line.empty()) {
            RawLine raw;
            raw.parts = splitLine(line);
            // The logical line is kept whole for its parts; the Read tab shows its first 500 characters.
            raw.line = line.substr(0, LineRoom);
            lines.push_back(std::move(raw));
        }
        line.clear();
        quoted = false;
    };
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        const char c = buffer[i];
        if (quoted && c != '\'' && c != '\r') {
            line += c;
            continue;
        }
        if (c == '\r') {
            finish();
        } else if (static_cast<unsigned char>(c) < 32) {
            continue;
        } else if (c == '|') {
            // A continuation: the rest of the physical line and its line end are skipped.
            while (i < buffer.size() && buffer[i] != '\r')
                ++i;
            ++i; // the character after the CR (its LF)
        } else {
            if (c == '\'')
                quoted = !quoted;
            line += c;
        }
    }
    finish();
    return lines;
}

// Gives every line its level, sheet and tab; false when the nesting is broken.
bool WindowParser::nest()
{
    std::array<std::string, StackRoom + 2> stack;
    int level = 1;
    stack[1] = "win";
    int sheetLevel = 0, sheetNum = 0, tab = 0;
    for (std::size_t n = 0; n < m_q.raw.size(); ++n) {
        RawLine& rq = m_q.raw[n];
        const std::string& keyword = rq.parts.keyword;
        rq.level = level;
        rq.levelType = level >= 0 && level <= StackRoom ? stack[static_cast<std::size_t>(level)] : "";
        rq.sheetLevel = sheetLevel;
        rq.sheetNum = sheetNum;
        rq.tab = tab;
        const std::string code = structureCode(keyword);
        if (!code.empty()) {
            if (level + 1 > StackRoom) {
                message(m_dialogs, "Too many levels @ " + std::to_string(n + 1));
                return false;
            }
            stack[static_cast<std::size_t>(++level)] = code;
            if (code == "she") {
                ++sheetLevel;
                if (sheetLevel == 1) {
                    ++sheetNum;
                    tab = 0;
                }
                rq.sheetLevel = sheetLevel;
                rq.sheetNum = sheetNum;
                rq.tab = tab;
            } else if (code == "tab") {
                if (sheetLevel == 1)
                    ++tab;
                rq.tab = tab;
                if (sheetNum == 1 && sheetLevel == 1)
                    m_q.tabs.push_back({tab, runtime::fitted(ltrim(rq.line), 50), n});
            }
        } else if (closesStructure(keyword)) {
            if (level == 0) {
                if (n + 1 == m_q.raw.size())
                    break;
                message(m_dialogs, "Window has an END too many at line " + std::to_string(n + 1));
                return false;
            }
            if (stack[static_cast<std::size_t>(level)] == "she") {
                --sheetLevel;
                tab = 0;
            }
            stack[static_cast<std::size_t>(level)] = "...";
            --level;
            rq.level = level;
            rq.sheetLevel = sheetLevel;
        }
    }
    if (level != 0) {
        if (!m_q.raw.empty() && runtime::findNoCase(m_q.raw.front().line, "WINDOW(") != std::string::npos)
            message(m_dialogs, "Window does not have proper number of END's");
        return false;
    }
    return true;
}

// Offers the tabs of the first sheet and says which lines the analysis keeps.
std::vector<bool> WindowParser::retainedLines(const TabChooser& chooseTab)
{
    std::vector<bool> keep(m_q.raw.size(), true);
    if (m_q.tabs.size() < 2 || !chooseTab)
        return keep;
    const TabChoice choice = chooseTab(m_q.tabs);
    m_q.tabMode = choice.mode;
    if (m_q.tabMode == TabMode::All)
        return keep;
    RawLine chosen;
    if (m_q.tabMode == TabMode::One) {
        if (choice.entry >= m_q.tabs.size()) {
            m_q.tabMode = TabMode::All;
            return keep;
        }
        chosen = m_q.raw[m_q.tabs[choice.entry].rqIndex];
        m_q.chosenTab = m_q.tabs[choice.entry].num;
    }
    for (std::size_t n = 1; n < m_q.raw.size(); ++n) {
        const RawLine& rq = m_q.raw[n];
        keep[n] = m_q.tabMode == TabMode::None ? (rq.sheetNum == 0 || rq.tab == 0 || rq.level <= 2)
                                               : (rq.sheetNum == 0 || rq.sheetNum != chosen.sheetNum ||
                                                  rq.tab == chosen.tab || rq.level <= chosen.level);
    }
    return keep;
}

void WindowParser::readEntry(std::size_t index, int depth, std::string (&names)[11], int& sequence)
{
    const std::string line = m_q.code[index];
    const std::string s(ltrim(line.size() > 5 ? line.substr(5, 35) : std::string()));
    std::string name;
    if (!s.empty() && s[0] == '\'') {
        const std::size_t close = s.find('\'', 1);
        name = close == std::string::npos || close < 2 ? s.substr(1) : s.substr(1, close - 1);
    } else {
        const std::size_t close = s.find(')', 1);
        name = "!" + (s.empty()
                          ? std::string()
                          : (close == std::string::npos || close < 2 ? s.substr(1) : s.substr(1, close - 1)));
    }
    MenuRow row;
    row.name = runtime::fitted(name, 40);
    std::string text = row.name;
    std::string copy = upper(line);
    for (std::size_t at = copy.find("KEY("); at != std::string::npos; at = copy.find("KEY(")) {
        const std::size_t close = copy.find(')', at);
        const std::size_t end = close == std::string::npos ? copy.size() : close + 1;
        text += " " + line.substr(at, end - at);
        std::fill(copy.begin() + static_cast<long>(at), copy.begin() + static_cast<long>(end), ' ');
    }
    row.line = runtime::fitted(text, 64);
    row.level = depth;
    row.colours = {m_q.frameMode ? NoColour : Blue, NoColour, NoColour, NoColour};
    row.seq = ++sequence;
    row.frame = m_q.frameMode;
    const char key = altLetter(row.name);
    row.altKey = key == NoKey ? ' ' : key;
    if (key != NoKey) {
        for (std::size_t i = 0; i < row.name.size(); ++i) {
            if (row.name[i] == '&' && i + 1 < row.name.size() && row.name[i + 1] == '&') {
                ++i;
            } else if (row.name[i] == '&') {
                row.name.erase(i, 1);
                break;
            }
        }
    }
    // Menus deeper than the name array share its last level.
    const int slot = std::clamp(depth, 1, MenuDepthRoom);
    names[slot] = runtime::fitted(row.name, 30);
    for (int d = 1; d <= slot; ++d) {
        row.path += "\\" + names[d];
        if (d < slot)
            row.menuPath += "\\" + names[d];
    }
    row.path = runtime::fitted(row.path, 255);
    row.menuPath = runtime::fitted(row.menuPath, 255);
    if (m_q.frameMode && startsWith(line, "MENU")) {
        const bool merged = std::any_of(m_q.menu.begin(), m_q.menu.end(),
                                        [&](const MenuRow& m) { return !m.frame && m.path == row.path; });
        if (merged) {
            m_q.code[index] = "!merged=>" + line;
            return;
        }
    }
    const auto at = std::upper_bound(m_q.menu.begin(), m_q.menu.end(), row,
                                     [](const MenuRow& a, const MenuRow& b) { return a.path < b.path; });
    m_q.menu.insert(at, row);
    if (row.line.find('&') != std::string::npos && depth == 1) {
        AltRow alt;
        const std::size_t amp = row.line.find('&');
        const char key1 = amp + 1 < row.line.size() ? runtime::upperChar(row.line[amp + 1]) : ' ';
        alt.key = key1 == ' ' ? NoKey : key1;
        alt.name = runtime::fitted(row.line, 50);
        alt.type = (m_q.frameMode ? "FR-" : "") + line.substr(0, 4);
        alt.zorder = static_cast<int>(index + 1);
        std::string sortName = upper(alt.name);
        std::erase(sortName, '&');
        alt.nameSort = runtime::fitted(sortName, 20);
        m_q.alt.push_back(alt);
    }
}

void WindowParser::menuScan(std::size_t first, std::size_t last)
{
    bool inMenubar = false;
    int depth = 0;
    std::string names[11];
    int sequence = 0;
    for (std::size_t i = first; i < last && i < m_q.code.size(); ++i) {
        std::string line = m_q.code[i];
        const std::string up = upper(line);
        if (!inMenubar) {
            if (runtime::isBlank(line) || line[0] == '!')
                continue;
            if (startsWith(up, "MENUBAR ") || startsWith(up, "MENUBAR,") || up == "MENUBAR") {
                inMenubar = true;
                depth = 1;
                if (up.find("NOMERGE") != std::string::npos) {
                    if (m_q.frameMode) {
                        m_q.frameNoMerge = true;
                        return;
                    }
                    m_q.childNoMerge = true;
                }
                continue;
            }
            if (!m_q.frameMode) {
                std::size_t at = up.find("WINDOW(");
                std::size_t start = at + 8;
                bool found = at != std::string::npos;
                if (!found && (at = up.find("WINDOW,")) != std::string::npos) {
                    found = true;
                    start = std::string::npos;
                } else if (!found && (at = up.find("APPLICATION(")) != std::string::npos) {
                    found = true;
                    start = at + 13;
                    m_q.isApplication = true;
                }
                if (found) {
                    const std::string padded = up + " ";
                    if (padded.find(",MDI,") != std::string::npos ||
                        padded.find(",MDI ") != std::string::npos ||
                        padded.find(" MDI,") != std::string::npos)
                        m_q.isMdi = true;
                    if (start == std::string::npos) {
                        m_q.title = "No Title";
                    } else if (start <= line.size()) {
                        const std::size_t end = line.find("')", at);
                        m_q.title = runtime::fitted(line.substr(start, end == std::string::npos || end < start
                                                                           ? std::string::npos
                                                                           : end - start),
                                                    30);
                    }
                }
                continue;
            }
        }
        if (startsWith(up, "MENU(") || startsWith(up, "ITEM(")) {
            readEntry(i, depth, names, sequence);
            if (!m_q.code[i].empty() && m_q.code[i][0] != '!')
                m_q.code[i] = std::string(static_cast<std::size_t>(std::max(depth, 0)) * 3, ' ') + line;
            if (startsWith(up, "MENU("))
                ++depth;
        } else if (startsWith(up, "ITEM,")) {
            continue;
        } else if (inMenubar &&
                   (startsWith(up, "END ") || up == "END" || startsWith(up, "END!") || line[0] == '.')) {
            if (startsWith(up, "END"))
                line = ".   " + line.substr(3);
            while (!line.empty() && line[0] == '.') {
                line[0] = ' ';
                --depth;
                line = std::string(ltrim(line));
                if (depth <= 0) {
                    inMenubar = false;
                    depth = 0;
                    break;
                }
            }
        }
    }
}

void WindowParser::hotKeysAndControls()
{
    static const std::array<const char*, 7> keywords = {"PROMPT", "GROUP", "BUTTON", "CHECK",
                                                        "OPTION", "RADIO", "TAB"};
    for (std::size_t i = 0; i < m_q.code.size(); ++i) {
        const std::string& line = m_q.code[i];
        if (line.empty() || line[0] == '!')
            continue;
        std::string copy = upper(line.substr(0, 255));
        for (;;) {
            std::size_t at = copy.find("ALRT(");
            std::string word = "ALRT";
            if (at == std::string::npos) {
                at = copy.find("KEY(");
                word = "KEY";
            }
            if (at == std::string::npos)
                break;
            const std::size_t open = at + word.size() + 1;
            const std::size_t close = copy.find(')', open);
            const std::size_t end = close == std::string::npos ? copy.size() : close + 1;
            if (close != std::string::npos) {
                HotRow row;
                row.equate = runtime::fitted(line.substr(open, close - open), 20);
                row.equateUpper = upper(row.equate);
                row.type = word;
                row.control = runtime::fitted(ltrim(line), 149);
                m_q.hot.push_back(row);
                for (const ReservedKey& reserved : kReserved) {
                    if (row.equateUpper == reserved.key) {
                        HotRow windowsKey = row;
                        windowsKey.type = reserved.type;
                        windowsKey.control = reserved.description;
                        windowsKey.colours.fg = Blue;
                        m_q.hot.push_back(windowsKey);
                    }
                }
            }
            std::fill(copy.begin() + static_cast<long>(at), copy.begin() + static_cast<long>(end), ' ');
        }
        if (line[0] == ' ')
            continue;
        const std::size_t p = line.find("('");
        if (p == std::string::npos || p < 2)
            continue;
        const std::string keyword = line.substr(0, p);
        if (std::find(keywords.begin(), keywords.end(), keyword) == keywords.end())
            continue;
        const std::size_t end = line.find("')", p + 2);
        const std::string text =
            line.substr(p + 2, end == std::string::npos ? std::string::npos : end - p - 2);
        AltRow row;
        row.key = altLetter(text);
        row.name = runtime::fitted(text, 50);
        row.type = keyword;
        row.zorder = static_cast<int>(i + 1);
        std::string sortName = upper(text);
        std::erase(sortName, '&');
        row.nameSort = runtime::fitted(sortName, 20);
        m_q.alt.push_back(row);
    }
}

void WindowParser::parse(const std::string& clipboardText, const TabChooser& chooseTab)
{
    m_q = AnalysisQueues{};
    // Read whole: a cut at a fixed size would analyse a large window in part without a word.
    std::string buffer = windowsLineEnds(clipboardText);
    buffer = runtime::clip(buffer);
    m_q.raw = rawLines(buffer);
    std::vector<bool> keep(m_q.raw.size(), true);
    if (nest())
        keep = retainedLines(chooseTab);
    for (std::size_t n = 0; n < m_q.raw.size(); ++n) {
        if (keep[n] && !m_q.raw[n].parts.normalised.empty())
            m_q.code.push_back(m_q.raw[n].parts.normalised);
    }
    menuScan(0, m_q.code.size());
    if (m_q.title.empty()) {
        message(m_dialogs,
                "There does not appear to be a WINDOW( definition in the clipboard.||Copy a WINDOW( "
                "definition from the "
                "Window... button and then press the READ CLIPBOARD button here.",
                "NO WINDOW FOUND");
    }
    hotKeysAndControls();
}

} // namespace kestrix::keyanalysis
