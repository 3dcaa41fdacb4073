#include "dictionary/CodeMenu.h"

#include "runtime/FixedText.h"

namespace kestrix::dictionary {

namespace {

std::string comparable(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c != '&')
            out += c;
    }
    return runtime::upper(runtime::trim(out));
}

template <typename Visit> void eachItem(const CodeMenu& menu, Visit visit)
{
    for (const CodeMenuEntry& entry : menu) {
        if (entry.submenu.empty()) {
            if (entry.item.id != runtime::SeparatorId)
                visit(entry.item);
            continue;
        }
        for (const runtime::MenuItem& item : entry.submenu) {
            if (item.id != runtime::SeparatorId)
                visit(item);
        }
    }
}

} // namespace

CodeMenuEntry codeSubmenu(const std::string& title, int firstId, const std::vector<std::string>& texts)
{
    CodeMenuEntry entry{runtime::MenuItem{-1, title, true}, {}};
    for (const std::string& text : texts)
        entry.submenu.push_back(runtime::MenuItem{firstId++, text, true});
    return entry;
}

CodeChoice codeLines(std::vector<std::string> lines)
{
    return {CodeRequest::Lines, std::move(lines), 1};
}

int menuItemId(const CodeMenu& menu, const std::string& text)
{
    const std::string wanted = comparable(text);
    int found = 0;
    eachItem(menu, [&](const runtime::MenuItem& item) {
        if (found == 0 && comparable(item.text) == wanted)
            found = item.id;
    });
    return found;
}

std::string menuItemText(const CodeMenu& menu, int id)
{
    std::string found;
    eachItem(menu, [&](const runtime::MenuItem& item) {
        if (item.id == id && found.empty())
            found = item.text;
    });
    return found;
}

std::vector<std::string> menuItemTexts(const CodeMenu& menu)
{
    std::vector<std::string> texts;
    eachItem(menu, [&](const runtime::MenuItem& item) { texts.push_back(item.text); });
    return texts;
}

} // namespace kestrix::dictionary
