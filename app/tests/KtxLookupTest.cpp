#include "KtxRun.h"

#include <gtest/gtest.h>

using namespace kestrix::testing;

namespace {

// A data directory with the sample installation's equates and the delivered popups loaded.
struct Loaded : KtxWorkspace
{
    Loaded()
    {
        clarionRoot = SampleClarionRoot;
        if (run({"equates", "load"}).code != 0 || run({"popups", "load"}).code != 0)
            throw std::runtime_error("the sample equates or popups did not load");
    }
};

} // namespace

TEST(KtxEquatesMenu, TheEquatesOwnEntriesThenTheCommonOnes)
{
    Loaded w;
    const KtxRun menu = w.run({"equates", "menu", "EVENT:Accepted"});
    ASSERT_EQ(menu.code, 0) << menu.err;
    EXPECT_EQ(menu.out,
              "6\n1\tOF in ACCEPT loop\n2\tPOST to window\n3\tPOST to control\n4\tIF EVENT()\n"
              "5\tCASE EVENT()\n6\tRegister Handler\n-\n7\tName Only\n8\tAssign\n9\tCompare\n10\tOF\n"
              "11\tComment\n");
    const KtxRun unknown = w.run({"equates", "menu", "EVENT:NoSuchEvent"});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_NE(unknown.err.find("Unknown equate: EVENT:NoSuchEvent"), std::string::npos);
}

TEST(KtxEquatesCode, AChoiceThenDoubleClicksPileUpInAddMode)
{
    Loaded w;
    const KtxRun code =
        w.run({"equates", "code", "EVENT:Accepted", "--item", "5", "--repeat", "EVENT:CloseWindow"});
    ASSERT_EQ(code.code, 0) << code.err;
    EXPECT_EQ(code.out, "CASE EVENT()\nOF EVENT:Accepted\nEND \nOF EVENT:CloseWindow \n");
    const KtxRun common = w.run({"equates", "code", "COLOR:Red", "--item", "8", "--repeat", "COLOR:Blue"});
    ASSERT_EQ(common.code, 0) << common.err;
    EXPECT_EQ(common.out, "Variable = COLOR:Red \nVariable = COLOR:Blue \n"); // "Assign" of EQUATE BROWSE
    const KtxRun beyond = w.run({"equates", "code", "COLOR:Red", "--item", "12"});
    EXPECT_EQ(beyond.code, 2);
    EXPECT_NE(beyond.err.find("it has 11 entries"), std::string::npos);
}

TEST(KtxKeycode, KeysMouseSpecialKeysAndTheirCode)
{
    Loaded w;
    const KtxRun key = w.run({"keycode", "--key", "Ctrl+Shift+A", "--item", "4", "--again", "EscKey"});
    ASSERT_EQ(key.code, 0) << key.err;
    EXPECT_EQ(
        key.out,
        R"({"value":833,"name":"CtrlShiftA","char":"A","code":"CASE KEYCODE()\r\nOF CtrlShiftA\r\nEND","again":"OF EscKey"})"
        "\n");
    const KtxRun escape = w.run({"keycode", "--special", "escape", "--alt"});
    EXPECT_EQ(escape.out, "{\"value\":1051,\"name\":\"AltEsc\",\"char\":\"\\u001b\"}\n");
    // The sample has no equate for a double click with Ctrl and Shift: the number stands for it.
    const KtxRun mouse = w.run({"keycode", "--mouse", "left", "--double", "--ctrl", "--shift"});
    EXPECT_EQ(mouse.out, "{\"value\":773,\"name\":\"773\",\"char\":\"\\u0005\"}\n");
    const KtxRun value = w.run({"keycode", "--value", "13"});
    EXPECT_NE(value.out.find("\"name\":\"EnterKey\""), std::string::npos);

    const KtxRun unknown = w.run({"keycode", "--key", "F99"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_NE(unknown.err.find("Unknown key: F99"), std::string::npos);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(w.run({"keycode", "--key", "Esc", "--item", "99"}).code, 2);
}

TEST(KtxTplcode, ButtonsAndPopupsInEitherFamily)
{
    Loaded w;
    const KtxRun abc = w.run({"tplcode", "--abc", "on", "IF", "LocalRequ&est", "=True", "THEN", "Return",
                              "Tab", "popup:tpl:2", "END"});
    ASSERT_EQ(abc.code, 0) << abc.err;
    EXPECT_EQ(abc.out, "IF  SELF.Request  =True  THEN\n     #SET(%^, '')   END\n");
    const KtxRun plain = w.run({"tplcode", "--abc", "off", "LocalRequest", "popup:MSG{Q}:1"});
    EXPECT_EQ(plain.out, "LocalRequest  ERRORCODE()\n"); // the braces stripped
    const KtxRun nothing = w.run({"tplcode", "Space", "Return"});
    EXPECT_EQ(nothing.code, 0);
    EXPECT_EQ(nothing.out, "");
}

TEST(KtxTplcode, UnknownButtonsAndTooMuchTextAreRefused)
{
    Loaded w;
    const KtxRun unknown = w.run({"tplcode", "IF", "WHILE"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_NE(unknown.err.find("Unknown button: WHILE"), std::string::npos);
    EXPECT_EQ(w.run({"tplcode", "popup:tpl:99"}).code, 2);

    std::vector<std::string> many = {"tplcode"};
    for (int i = 0; i < 200; ++i)
        many.push_back("RequestCa&ncelled"); // 18 characters each: the text passes 1000
    const KtxRun tooMuch = w.run(many);
    EXPECT_EQ(tooMuch.code, 2);
    EXPECT_NE(tooMuch.err.find("CODE TOO LONG: The code holds at most 1000 characters"), std::string::npos);
    EXPECT_EQ(tooMuch.out, "");
}

TEST(KtxLookup, EquatesNeverLoadedAreSaidSoNotShownEmpty)
{
    kestrix::runtime::testing::TempDir dir;
    const std::string data = (dir.path() / "data").string();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"equates", "menu", "EVENT:Accepted"}, {"keycode", "--key", "F5"}}) {
        std::vector<std::string> full = {"--data-dir", data};
        full.insert(full.end(), args.begin(), args.end());
        const KtxRun run = ktx(full);
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find("Run 'ktx equates load' first"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}
