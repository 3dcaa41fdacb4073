// Whatever the generator accepts, the decompiler must give back: text, caption,
// icon, buttons, code structure and options. Checked over many random records.
#include "MessageTestSupport.h"
#include "message/IconList.h"
#include "message/MessageDecompiler.h"
#include "message/MessageGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace kestrix::message;
using kestrix::runtime::Record;

namespace {

class RandomMessages
{
public:
    explicit RandomMessages(unsigned seed) : m_rng(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    template <class T> const T& pick(const std::vector<T>& v)
    {
        return v[static_cast<std::size_t>(below(static_cast<int>(v.size())))];
    }

    std::string word(int maxLength)
    {
        static const std::string letters =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.?:;-_=+*%$#@/\\[]\xE9\xFC";
        std::string w;
        const int n = 1 + below(maxLength);
        for (int i = 0; i < n; ++i)
            w += letters[static_cast<std::size_t>(below(static_cast<int>(letters.size())))];
        return w;
    }

    std::string expression()
    {
        static const std::vector<std::string> pool = {
            "Cnt",
            "CLIP(Name)",
            "FORMAT(TODAY(),@d6)",
            "SUB(Name,1,3)",
            "LEFT(FORMAT(Amount,@n12.2), 5)",
            "CHOOSE(x,'a','b')",
            "Total+1",
            "INSTRING(',', Line, 1, 1)",
            "A&B",
            "CLIP(L:Name) & ', ' & CLIP(F)",
        };
        std::string e = pick(pool);
        // Blanks and literals are fine inside parentheses only; drop the rest outside.
        if (e.find('(') == std::string::npos || e.find(" & ") != std::string::npos) {
            std::erase(e, ' ');
            if (e.find('\'') != std::string::npos)
                e = "Cnt";
        }
        return "{" + e + "}";
    }

    std::string text(char tab)
    {
        std::string t;
        const int target = below(10) == 0 ? 0 : 1 + below(below(4) == 0 ? 850 : 150);
        while (static_cast<int>(t.size()) < target) {
            std::string piece;
            switch (below(12)) {
            case 0:
                piece = "'";
                break;
            case 1:
                piece = "<";
                break;
            case 2:
                piece = "&";
                break;
            case 3:
                piece = "|";
                break;
            case 4:
                piece = "\r\n";
                break;
            case 5:
                piece = std::string(1, tab);
                break;
            case 6:
                piece = expression();
                break;
            case 7:
                piece = word(below(8) == 0 ? 120 : 12);
                break;
            default:
                piece = word(9) + " ";
                break;
            }
            // The record holds 1000 characters, and every '|' comes back as a line end of two.
            if (t.size() + piece.size() + static_cast<std::size_t>(std::count(t.begin(), t.end(), '|')) + 1 >
                990)
                break;
            t += piece;
        }
        return t;
    }

    std::string caption()
    {
        std::string c;
        const int pieces = below(4);
        for (int i = 0; i < pieces; ++i) {
            switch (below(5)) {
            case 0:
                c += "{CLIP(Name)}";
                break;
            case 1:
                c += "{A}";
                break;
            case 2:
                c += "It's <" + word(5) + ">";
                break;
            default:
                c += word(8) + (below(2) ? " " : "");
                break;
            }
        }
        return c.substr(0, 60);
    }

private:
    std::mt19937 m_rng;
};

// A '|' and a typed line end make the same line break, and both come back as the latter.
std::string normalised(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '|')
            out += "\r\n";
        else
            out += c;
    }
    return trimmedMessageText(out);
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines)
        out += line + "\r\n";
    return out;
}

} // namespace

TEST(MessageRoundTrip, DecompilingGeneratedCodeGivesTheMessageBack)
{
    RandomMessages random(20261208);
    const std::vector<std::string> icons = standardIconNames();
    int checked = 0;
    for (int round = 0; round < 3000; ++round) {
        GeneratorSettings settings;
        settings.initialIndent = random.below(31);
        settings.nestIndent = 1 + random.below(10);
        settings.endComment = random.below(2);
        settings.defaultAlways = random.below(2);
        settings.tabCharacter = random.below(2) ? '`' : '~';

        Record r = testMessage(random.text(settings.tabCharacter), {},
                               random.pick(std::vector<std::string>{"None", "Case", "If"}).c_str());
        bool any = false;
        for (int b = 1; b <= Mes::ButtonCount; ++b) {
            const bool on = random.below(3) == 0;
            r.setNumber(Mes::Button, on ? 1 : 0, b);
            any = any || on;
        }
        if (!any)
            r.setNumber(Mes::Button, 1, 1 + random.below(8));
        std::vector<int> chosenButtons;
        for (int b = 1; b <= Mes::ButtonCount; ++b) {
            if (buttonChosen(r, b))
                chosenButtons.push_back(b);
        }
        const int defaultButton = random.pick(chosenButtons);
        r.setText(Mes::Default, standardButton(defaultButton).name);
        r.setText(Mes::Caption, random.caption());
        r.setText(Mes::Icon, random.pick(icons));
        r.setNumber(Mes::CodeLoop, random.below(2));
        r.setNumber(Mes::CodeIfError, random.below(2));
        r.setNumber(Mes::Sound, random.below(2));

        const GeneratedCode code = MessageGenerator(settings).generate(r);
        ASSERT_FALSE(code.failure) << r.text(Mes::Text);
        const std::string source = joined(code.lines);
        for (const std::string& line : code.lines)
            ASSERT_LE(line.size(), 254u) << source;

        DecompileSettings ds;
        ds.icons = icons;
        ds.tabCharacter = settings.tabCharacter;
        const DecompiledMessage back = decompileMessage(source, ds);
        ASSERT_TRUE(back.record) << source;
        const Record& d = *back.record;
        ASSERT_EQ(normalised(d.text(Mes::Text)), normalised(r.text(Mes::Text)))
            << d.text(Mes::Text).size() << " characters back of " << r.text(Mes::Text).size() << "\n"
            << source;
        ASSERT_EQ(d.text(Mes::Caption), r.text(Mes::Caption)) << source;
        const std::string icon = r.text(Mes::Icon) == "None" ? "" : r.text(Mes::Icon);
        ASSERT_EQ(d.text(Mes::Icon), icon) << source;
        for (int b = 1; b <= Mes::ButtonCount; ++b)
            ASSERT_EQ(buttonChosen(d, b), buttonChosen(r, b)) << "button " << b << "\n" << source;
        // The generator leaves out a default that is the first button unless told to write it always,
        // and the whole buttons line when the message has OK alone.
        const bool written = source.find(std::string(", BUTTON:") + standardButton(defaultButton).name +
                                         ", 0)") != std::string::npos;
        ASSERT_EQ(written, (settings.defaultAlways || defaultButton != chosenButtons.front()) &&
                               source.find("BUTTON:") != std::string::npos)
            << source;
        ASSERT_EQ(d.text(Mes::Default), written ? r.text(Mes::Default) : std::string()) << source;
        ASSERT_EQ(d.text(Mes::CodeType), r.text(Mes::CodeType)) << source;
        ASSERT_EQ(d.number(Mes::CodeLoop), r.number(Mes::CodeLoop)) << source;
        ASSERT_EQ(d.number(Mes::CodeIfError), r.number(Mes::CodeIfError)) << source;
        ASSERT_EQ(d.number(Mes::Sound), r.number(Mes::Sound)) << source;
        ++checked;
    }
    EXPECT_EQ(checked, 3000);
}
