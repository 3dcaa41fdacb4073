#include "keyanalysis/KeyConflicts.h"

#include "runtime/FixedText.h"

#include <algorithm>
#include <numeric>
#include <tuple>
#include <vector>

namespace kestrix::keyanalysis {

namespace {

bool skipped(char c)
{
    return c == ' ' || c == '\'' || c == '&' || c == ':' || c == '.' || c == ',';
}

bool used(const AnalysisQueues& q, char c)
{
    return q.usedLetters[static_cast<unsigned char>(c)] != ' ';
}

void markUsed(AnalysisQueues& q, char c)
{
    q.usedLetters[static_cast<unsigned char>(c)] = c;
}

// Letter, then name, then type: the order conflicts are found in and the list's first order. The letter
// compares as a byte; the names compare where they are, as copies for every comparison would cost more
// than the sort.
bool inKeyOrder(const AltRow& a, const AltRow& b)
{
    const auto left = static_cast<unsigned char>(a.key);
    const auto right = static_cast<unsigned char>(b.key);
    if (left != right)
        return left < right;
    return std::tie(a.nameSort, a.type) < std::tie(b.nameSort, b.type);
}

// A stable sort of large rows: their places are sorted, and each row is then moved once, where a merge sort
// would move every row at each of its passes. Rows already in order stay as they are. `order[k]` is the
// place the row that belongs at k comes from.
template <typename Row, typename Less> void stableSort(std::vector<Row>& rows, Less less)
{
    if (std::is_sorted(rows.begin(), rows.end(), less))
        return;
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return less(rows[a], rows[b]); });
    // Along each cycle of the permutation: no second array of rows, whose fresh pages would cost more than
    // the moves.
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i] == i)
            continue;
        Row held = std::move(rows[i]);
        std::size_t at = i;
        for (std::size_t from = order[at]; from != i; from = order[at]) {
            rows[at] = std::move(rows[from]);
            order[at] = at;
            at = from;
        }
        rows[at] = std::move(held);
        order[at] = at;
    }
}

std::string upperName(const std::string& name)
{
    std::string text = runtime::upper(name);
    if (text.size() < 50)
        text.resize(50, ' ');
    return text.substr(0, 50);
}

} // namespace

int sortAltKeys(AnalysisQueues& q, int choice)
{
    auto& rows = q.alt;
    const auto by = [&](auto key) {
        stableSort(rows, [&](const AltRow& a, const AltRow& b) { return key(a) < key(b); });
    };
    switch (choice) {
    case 2:
        by([](const AltRow& r) { return std::tie(r.nameSort, r.type, r.key); });
        return 2;
    case 3:
        by([](const AltRow& r) { return std::tie(r.type, r.nameSort, r.key); });
        return 3;
    case 4:
        by([](const AltRow& r) { return std::tie(r.type, r.zorder); });
        return 4;
    case 5:
        by([](const AltRow& r) { return r.zorder; });
        return 5;
    default:
        stableSort(rows, inKeyOrder);
        return 1;
    }
}

void findConflicts(AnalysisQueues& q, int sortChoice)
{
    // Key order.
    stableSort(q.alt, inKeyOrder);
    stableSort(q.hot, [](const HotRow& a, const HotRow& b) { return a.equateUpper < b.equateUpper; });

    // Hot keys given twice.
    std::string previous;
    for (std::size_t i = 0; i < q.hot.size(); ++i) {
        HotRow& row = q.hot[i];
        row.colours.bg = NoColour;
        row.colours.sfg = NoColour;
        if (runtime::isBlank(row.equate) || row.equate[0] == NoKey) {
            row.equate.clear();
            continue;
        }
        const std::string key = runtime::upper(row.equate);
        if (key == previous) {
            row.colours.bg = Aqua;
            q.hot[i - 1].colours.bg = Aqua;
            ++q.conflictsKey;
        }
        previous = key;
    }

    // Alt letters given twice.
    q.usedLetters.assign(256, ' ');
    char previousKey = ' ';
    for (std::size_t i = 0; i < q.alt.size(); ++i) {
        AltRow& row = q.alt[i];
        row.colours = {};
        if (row.key == NoKey || row.key == ' ')
            row.key = ' ';
        markUsed(q, row.key);
        if (row.key != ' ' && row.key == previousKey) {
            row.colours.bg = Aqua;
            q.alt[i - 1].colours.bg = Aqua;
            ++q.conflictsAlt;
        }
        previousKey = row.key;
    }
    q.usedLetters[' '] = ' ';

    // The letters each control could still take.
    for (AltRow& row : q.alt) {
        std::string available;
        for (const char c : upperName(row.name)) {
            if (skipped(c) || used(q, c) || available.find(c) != std::string::npos)
                continue;
            available += ' ';
            available += c;
        }
        row.available = runtime::fitted(available, 40);
    }

    // Hot keys Alt+letter that an Alt letter already opens.
    for (HotRow& hot : q.hot) {
        const std::string key = runtime::upper(hot.equate);
        if (key.size() != 4 || key.compare(0, 3, "ALT") != 0 || key[3] == ' ')
            continue;
        const char c = key[3];
        markUsed(q, c);
        for (AltRow& row : q.alt) {
            if (row.key == c) {
                row.colours.fg = Red;
                hot.colours.fg = Red;
                ++q.conflictsKey;
            }
        }
    }

    // Two entries of one menu on one letter.
    stableSort(q.menu, [](const MenuRow& a, const MenuRow& b) {
        return std::tie(a.menuPath, a.altKey) < std::tie(b.menuPath, b.altKey);
    });
    std::string previousPath;
    char previousLetter = ' ';
    for (std::size_t i = 0; i < q.menu.size(); ++i) {
        MenuRow& row = q.menu[i];
        if (i > 0 && row.menuPath == previousPath && row.altKey == previousLetter && row.altKey != ' ') {
            ++q.conflictsMenu;
            const long colour = row.level == 1   ? Aqua
                                : row.level == 2 ? Lime
                                : row.level == 3 ? Yellow
                                                 : Silver;
            for (MenuRow* marked : {&q.menu[i - 1], &row}) {
                marked->colours.bg = colour;
                marked->line = runtime::clip(marked->line) + " ?" + std::to_string(q.conflictsMenu);
            }
        }
        previousPath = row.menuPath;
        previousLetter = row.altKey;
    }
    stableSort(q.menu, [](const MenuRow& a, const MenuRow& b) {
        return std::tie(a.path, a.frame) < std::tie(b.path, b.frame);
    });

    // The order the user chose.
    sortAltKeys(q, sortChoice);
}

namespace {
std::string caption(const char* base, long conflicts)
{
    if (!conflicts)
        return base;
    return std::string(base) + "  (" + std::to_string(conflicts) +
           (conflicts == 1 ? " Conflict)" : " Conflicts)");
}
} // namespace

std::string windowCaption(const AnalysisQueues& q)
{
    // The title as the analysed window shows it: "&&" is one ampersand there, "''" one quote.
    std::string shown;
    for (std::size_t i = 0; i < q.title.size(); ++i) {
        shown += q.title[i];
        if ((q.title[i] == '&' || q.title[i] == '\'') && i + 1 < q.title.size() &&
            q.title[i + 1] == q.title[i])
            ++i;
    }
    return "Window Key Analysis (" + shown + ")";
}

std::string altCaption(const AnalysisQueues& q)
{
    return caption("&Alt Keys", q.conflictsAlt);
}

std::string hotCaption(const AnalysisQueues& q)
{
    return caption("&Hot Keys", q.conflictsKey);
}

std::string menuCaption(const AnalysisQueues& q)
{
    return caption("&Menu", q.conflictsMenu);
}

std::string usedLetters(const AnalysisQueues& q)
{
    return std::string(runtime::trim(q.usedLetters));
}

runtime::MessageRequest suggestions(const AnalysisQueues& q, std::size_t index)
{
    const AltRow& row = q.alt.at(index);
    std::string text;
    if (q.tabMode != TabMode::All && runtime::sameText(row.type, "TAB"))
        text = "** WARNING **|Do not assign Tab Alt Keys without having All Tab controls loaded that have "
               "used Alt keys "
               "or you could assign duplicates.||";
    std::string freeList;
    std::string handled;
    std::string where;
    for (const char c : upperName(row.name)) {
        if (skipped(c))
            continue;
        if (!used(q, c)) {
            if (freeList.find(c) == std::string::npos) {
                freeList += ' ';
                freeList += c;
            }
            continue;
        }
        if (handled.find(c) != std::string::npos)
            continue;
        handled += c;
        for (std::size_t other = 0; other < q.alt.size(); ++other) {
            if (other == index || q.alt[other].key != c)
                continue;
            where += "|\t" + std::string(1, c) + " - " + q.alt[other].name;
            std::string offered;
            for (const char d : upperName(q.alt[other].name)) {
                if (skipped(d) || used(q, d) || offered.find(d) != std::string::npos || offered.size() >= 19)
                    continue;
                offered += ' ';
                offered += d;
            }
            if (!offered.empty())
                where += "  (" + offered + " )";
        }
    }
    if (where.size() > 3000)
        where.resize(3000);
    text += "Prompt:        " + runtime::clip(row.name) + "||Available:    " + runtime::clip(freeList) +
            "||Used Keys:  " + usedLetters(q) + "||Where:" + runtime::clip(where);
    return {text, "ALT KEY SUGGESTIONS", runtime::MessageIcon::Asterisk, runtime::Button::Ok,
            runtime::Button::Ok};
}

} // namespace kestrix::keyanalysis
