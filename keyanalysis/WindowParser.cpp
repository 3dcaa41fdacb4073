#include "keyanalysis/WindowParser.h"

#include "runtime/FixedText.h"

#include <algorithm>
#include <array>

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
    dialogs.message({std::move(text), std::move(caption), runtime::MessageIcon::Exclamation, runtime::Button::Ok,
                     runtime::Button::Ok});
}

struct ReservedKey
{
    const char* key;
    const char* description;
    const char* type;
};
constexpr std::array<ReservedKey, 14> kReserved = {{
    {"CTRLC", "Copy", "Win"},        {"CTRLV", "Paste", "Win"},           {"CTRLX", "Cut", "Win"},
    {"CTRLF4", "Close", "Win"},      {"ALTF4", "Close", "Win"},           {"CTRLF6", "Next", "Win"},
    {"ALTSPACE", "System Menu", "Win"}, {"ALTMINUS", "MDI Child Menu", "Win"}, {"ALTTAB", "Task Switch", "Win"},
    {"ALTESC", "Task Switch", "Win"}, {"CTRLESC", "Task Switch", "Win"},   {"F10KEY", "Menu", "Win"},
    {"F1KEY", "Help", "CW"},         {"CTRLZ", "Erase", "CW"},
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

std::vector<RawLine> WindowParser::rawLines(const std::string& buffer) const
{
    std::vector<RawLine> lines;
    std::string line;
    bool quoted = false;
    const auto finish = [&] {
        if (!line.empty())
            lines.push_back({0, {}, 0, 0, 0, line});
        line.clear();
        quoted = false;
    };
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        const char c = buffer[i];
        if (quoted && c != '\'' && c != '\r') {
            if (line.size() < LineRoom)
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
            if (line.size() < LineRoom)
                line += c;
        }
    }
    finish();
    return lines;
}

bool WindowParser::nest(std::string& buffer, const TabChooser& chooseTab)
{
    std::array<std::string, StackRoom + 2> stack;
    int level = 1;
    stack[1] = "win";
    int sheetLevel = 0, sheetNum = 0, tab = 0;
    for (std::size_t n = 0; n < m_q.raw.size(); ++n) {
        RawLine& rq = m_q.raw[n];
        const std::string code = runtime::lower(ltrim(rq.line)).substr(0, 3);
        rq.level = level;
        rq.levelType = level >= 0 && level <= StackRoom ? stack[static_cast<std::size_t>(level)] : "";
        rq.sheetLevel = sheetLevel;
        rq.sheetNum = sheetNum;
        rq.tab = tab;
        const auto push = [&](const char* type) {
            if (level + 1 > StackRoom) {
                message(m_dialogs, "Too many levels @ " + std::to_string(n + 1));
                return false;
            }
            stack[static_cast<std::size_t>(++level)] = type;
            return true;
        };
        if (code == "she") {
            ++sheetLevel;
            if (sheetLevel == 1) {
                ++sheetNum;
                tab = 0;
            }
            if (!push("she"))
                return false;
            rq.sheetLevel = sheetLevel;
            rq.sheetNum = sheetNum;
            rq.tab = tab;
        } else if (code == "tab") {
            if (!push("tab"))
                return false;
            if (sheetLevel == 1)
                ++tab;
            rq.tab = tab;
            if (sheetNum == 1 && sheetLevel == 1)
                m_q.tabs.push_back({tab, runtime::fitted(ltrim(rq.line), 50), n});
        } else if (code == "opt" || code == "gro" || code == "men" || code == "too") {
            if (!push(code.c_str()))
                return false;
        } else if (code == "end" || (!ltrim(rq.line).empty() && ltrim(rq.line).front() == '.')) {
            if (level == 0) {
                if (n + 1 == m_q.raw.size())
                    break;
                message(m_dialogs, "End level screwed up at line=" + std::to_string(n + 1));
                rq.line = "level prob here";
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
        if (!m_q.raw.empty() && upper(m_q.raw.front().line).find("WINDOW(") != std::string::npos)
            message(m_dialogs, "Window does not have proper number of END's");
        return true;
    }
    if (m_q.tabs.size() < 2 || !chooseTab)
        return true;

    const TabChoice choice = chooseTab(m_q.tabs);
    m_q.tabMode = choice.tabMode;
    if (m_q.tabMode == 0)
        return true;
    RawLine chosen;
    if (m_q.tabMode != 999 && choice.entry < m_q.tabs.size())
        chosen = m_q.raw[m_q.tabs[choice.entry].rqIndex];
    std::string rebuilt = m_q.raw.front().line;
    for (std::size_t n = 1; n < m_q.raw.size(); ++n) {
        const RawLine& rq = m_q.raw[n];
        const bool keep = m_q.tabMode == 999
                              ? (rq.sheetNum == 0 || rq.tab == 0 || rq.level <= 2)
                              : (rq.sheetNum == 0 || rq.sheetNum != chosen.sheetNum || rq.tab == chosen.tab ||
                                 rq.level <= chosen.level);
        if (keep)
            rebuilt += "\r\n" + std::string(runtime::rtrim(rq.line));
    }
    buffer = rebuilt;
    return true;
}

void WindowParser::normalise(const std::string& source)
{
    std::string buffer = source;
    std::string line;
    bool quoted = false;
    std::size_t firstWord = 0;
    const auto finish = [&] {
        if (!line.empty())
            m_q.code.push_back(line);
        line.clear();
        firstWord = 0;
        quoted = false;
    };
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        const char c = buffer[i];
        if (quoted && c != '\r' && c != '\'') {
            if (line.size() < LineRoom)
                line += c;
            continue;
        }
        if (!quoted && firstWord == 0 && !line.empty() && (c == ' ' || c == '(' || c == ',' || c == '\r')) {
            firstWord = line.size();
            for (std::size_t k = 0; k < firstWord; ++k)
                line[k] = runtime::upperChar(line[k]);
        }
        if (c == '\r') {
            finish();
        } else if (static_cast<unsigned char>(c) < 32) {
            continue;
        } else if (c == '|') {
            const std::size_t cr = buffer.find('\r', i);
            if (cr != std::string::npos)
                buffer[cr] = ' '; // the next physical line joins this one
        } else if (c == ' ') {
            if (!line.empty() && line.back() != ' ' && line.size() <= firstWord && line.size() < LineRoom)
                line += c;
        } else {
            if (c == '\'')
                quoted = !quoted;
            if (line.size() < LineRoom)
                line += c;
        }
    }
    finish();
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
        name = "!" + (s.empty() ? std::string() : (close == std::string::npos || close < 2 ? s.substr(1) : s.substr(1, close - 1)));
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
                    if (padded.find(",MDI,") != std::string::npos || padded.find(",MDI ") != std::string::npos ||
                        padded.find(" MDI,") != std::string::npos)
                        m_q.isMdi = true;
                    if (start == std::string::npos) {
                        m_q.title = "No Title";
                    } else if (start <= line.size()) {
                        const std::size_t end = line.find("')", at);
                        m_q.title = runtime::fitted(
                            line.substr(start, end == std::string::npos || end < start ? std::string::npos : end - start), 30);
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
        } else if (inMenubar && (startsWith(up, "END ") || up == "END" || startsWith(up, "END!") || line[0] == '.')) {
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
    static const std::array<const char*, 7> keywords = {"PROMPT", "GROUP", "BUTTON", "CHECK", "OPTION", "RADIO", "TAB"};
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
        const std::string text = line.substr(p + 2, end == std::string::npos ? std::string::npos : end - p - 2);
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
    buffer = std::string(runtime::rtrim(buffer));
    m_q.raw = rawLines(buffer);
    nest(buffer, chooseTab);
    normalise(buffer);
    menuScan(0, m_q.code.size());
    if (m_q.title.empty()) {
        message(m_dialogs,
                "There does not appear to be a WINDOW( definition in the clipboard.||Copy a WINDOW( definition from the "
                "Window... button and then press the READ CLIPBOARD button here.",
                "NO WINDOW FOUND");
    }
    hotKeysAndControls();
}

} // namespace kestrix::keyanalysis
