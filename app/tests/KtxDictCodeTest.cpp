#include "KtxRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

using kestrix::testing::KtxRun;
using kestrix::testing::SampleDictionary;

namespace {

// A workspace whose data directory holds SHOP.dic imported from the sample.
struct Shop : kestrix::testing::KtxWorkspace
{
    Shop() { EXPECT_EQ(run({"dict", "import", SampleDictionary}).code, 0); }
    // `dict code SHOP.dic` with `args`; a global option (`--set X=Y`) among them goes before the command.
    KtxRun code(std::vector<std::string> args) const
    {
        std::vector<std::string> all;
        if (const auto at = std::find(args.begin(), args.end(), "--set");
            at != args.end() && at + 1 != args.end()) {
            all = {at[0], at[1]};
            args.erase(at, at + 2);
        }
        all.insert(all.end(), {"dict", "code", "SHOP.dic"});
        all.insert(all.end(), args.begin(), args.end());
        return run(std::move(all));
    }
};

} // namespace

TEST(KtxDictCode, MenuItemsPrintTheirCode)
{
    Shop shop;
    struct Case
    {
        std::vector<std::string> args;
        std::string out;
    };
    const std::vector<Case> cases = {
        {{"Customer", "--abc", "on", "--file-item", "Access:File.TryOpen"},
         "IF Access:Customer.TryOpen()\n   open failed\nEND\n"},
        {{"Customer", "--abc", "off", "--file-item", "Save/Restore File"},
         "Save_CUS_Id   USHORT,AUTO\nSave_CUS_Id = "
         "Access:Customer.SaveFile()\nAccess:Customer.RestoreFile(Save_CUS_Id)\n"},
        {{"Supplier", "--abc", "off", "--file-item", "File Specification"},
         "Supplier FILE,DRIVER('ASCII','/FILEBUFFERS=8'),NAME('SUPPLIER.TXT'),PRE(SUP),CREATE\n"
         "Record RECORD,PRE()\nLine STRING(200)\n  END\n  END\n"},
        {{"Orders", "--abc", "off", "--file-item", "Assignments...", "--assign", "ORD:Total=0", "--assign",
          "ORD:Status='O'"},
         "    ORD:Total  = 0\n    ORD:Status = 'O'\n"},
        {{"Orders", "--key", "KeyCustDate", "--key-item", "DUPLICATE"}, "IF DUPLICATE(ORD:KeyCustDate) \n"},
        {{"Orders", "--abc", "on", "--key", "KeyOrderNo", "--key-item", "TryFetch"},
         "Access:Orders.TryFetch(ORD:KeyOrderNo)\n"},
        {{"Orders", "--fields", "Status", "--field-item", "CASE Field..OF InList"},
         "CASE ORD:Status\nOF 'O'\nOF 'S'\nOF 'C'\nEND\n"},
        {{"Customer", "--fields", "Since,CustNo,LastName", "--field-item", "FORMAT(Field,@?)"},
         "FORMAT(CUS:CustNo,@n_7)\nCLIP(CUS:LastName)\nFORMAT(CUS:Since,@d6)\n"},
        {{"Customer", "--relation", "Orders", "--relation-item", "Join(KeyCustDate,KeyCustNo)"},
         "JOIN(ORD:KeyCustDate, CUS:CustNo)\n"},
        {{"Orders", "--relation", "OrderItem:1", "--relation-item", "Get(OrderItem,KeyItem)", "--abc", "off"},
         "CLEAR(ITM:RECORD)\nITM:OrderNo = ORD:OrderNo\nGET(OrderItem,ITM:KeyItem)\nIF ERRORCODE()\n"
         "   CLEAR(ITM:RECORD)\nEND !IF\n"},
        {{"Customer", "--abc", "on", "--key", "KeyCustNo", "--key-item", "Get(File,Key)", "--nomemo"},
         "Access:Customer.ClearKey(CUS:KeyCustNo)\nCUS:CustNo = \nNOMEMO(Customer)\n"
         "IF Access:Customer.TryFetch(CUS:KeyCustNo)\n   failed\nEND\n"},
        {{"Orders", "--abc", "on", "--key", "KeyOrderNo", "--key-item", "Get(File,Key)", "--nomemo"},
         "Access:Orders.ClearKey(ORD:KeyOrderNo)\nORD:OrderNo = \nIF Access:Orders.TryFetch(ORD:KeyOrderNo)\n"
         "   failed\nEND\n"},
        {{"Orders", "--abc", "on", "--relation", "Customer", "--relation-item", "Get(Customer,KeyCustNo)",
          "--nomemo"},
         "Access:Customer.ClearKey(CUS:KeyCustNo)\nCUS:CustNo = ORD:CustNo\nNOMEMO(Customer)\n"
         "IF Access:Customer.TryFetch(CUS:KeyCustNo)\n   failed\nEND\n"},
        {{"Supplier", "--abc", "off", "--loop", "1", "--set", "ENDCOMMENT=0"},
         "SET(Supplier)\nLOOP\n   NEXT(Supplier)\n   IF ERRORCODE() THEN BREAK.\nEND\n"},
        {{"Buyer", "--abc", "on", "--loop", "2", "--key", "KeyName", "--cursor", "--abc-save"},
         "SETCURSOR(CURSOR:Wait)\nSave_BUY_Id   USHORT,AUTO\nSave_BUY_Id = Access:Buyer.SaveFile()\n"
         "SET(BUY:KeyName)\nLOOP\n   IF Access:Buyer.NEXT()\n      BREAK\n   END !IF\nEND !LOOP\n"
         "Access:Buyer.RestoreFile(Save_BUY_Id)\nSETCURSOR()\n"},
        {{"Customer", "--abc", "off", "--loop", "4", "--relation", "Orders", "--yield-every", "10"},
         "CLEAR(CUS:RECORD)\nCUS:CustNo = ORD:CustNo\nSET(CUS:KeyCustNo,CUS:KeyCustNo)\nLOOP\n   "
         "NEXT(Customer)\n"
         "   IF ERRORCODE()                 |\n      OR CUS:CustNo <> ORD:CustNo |\n      THEN BREAK.  ! END "
         "IF\n"
         "   YldCnt# += 1\n   IF YldCnt# > 10\n      YIELD() ; YldCnt# = 0\n   END !IF\nEND !LOOP\n"},
    };
    for (const Case& c : cases) {
        const KtxRun run = shop.code(c.args);
        EXPECT_EQ(run.code, 0) << c.args[2] << run.err;
        EXPECT_EQ(run.out, c.out) << c.args.back();
    }
}

TEST(KtxDictCode, TemplateFamilyDefaultsToTheProgramSetting)
{
    Shop shop;
    EXPECT_EQ(shop.code({"Customer", "--file-item", "Access:File.Open"}).out, "Access:Customer.Open()\n");
    std::ofstream(std::filesystem::path(shop.data) / "KTX4.INI") << "[ABC]\nABCMode=0\n";
    const auto legacy = shop.code({"Customer", "--file-item", "Access:File.Open"});
    EXPECT_EQ(legacy.code, 2); // not an item of the legacy menu
    EXPECT_NE(legacy.err.find("CHECKOPEN(File)"), std::string::npos) << legacy.err;
    EXPECT_EQ(shop.code({"Customer", "--file-item", "OPEN(File)"}).out, "OPEN(Customer)\n");
}

TEST(KtxDictCode, RefusalsNameTheProblem)
{
    Shop shop;
    struct Case
    {
        std::vector<std::string> args;
        int code;
        std::string err;
    };
    const std::vector<Case> cases = {
        {{"Customer"}, 2, "Give one of"},
        {{"Customer", "--loop", "1", "--file-item", "Filename"}, 2, "Give one of"},
        {{"Nobody", "--file-item", "Filename"}, 1, "No file Nobody in SHOP.dic"},
        {{"Customer", "--key", "Missing", "--key-item", "BUILD"}, 2, "No key Missing in Customer."},
        {{"Customer", "--key-item", "BUILD"}, 2, "Name the key with --key."},
        {{"Customer", "--fields", "CustNo,Nothing", "--field-item", "Name"},
         2,
         "No field Nothing in Customer."},
        {{"Customer", "--relation", "Orders:2", "--relation-item", "x"},
         2,
         "No relation 2 to Orders in Customer."},
        {{"OrderItem", "--relation", "Product", "--relation-item", "Set(NOLINK,NOLINK)"},
         2,
         "cannot be used here"},
        {{"OrderItem", "--relation", "Product", "--loop", "4"}, 2, "(NOLINK)"},
        {{"Customer", "--loop", "1", "--action", "ADD", "--action-file", "Nowhere"}, 2, "No file Nowhere"},
        {{"Customer", "--file-item", "Assignments...", "--assign", "X"}, 2, "VAR1=VAR2"},
        {{"Customer", "--file-item", "Assignments...", "--assign", std::string(51, 'A') + "=B"},
         2,
         "VAR1 holds at most 50 characters, not 51"},
        {{"Customer", "--file-item", "Assignments..."}, 1, "nothing is generated"},
        {{"Customer", "--key", "KeyName", "--key-item", "File Menu..."}, 2, "use --file-item"},
    };
    for (const Case& c : cases) {
        const auto run = shop.code(c.args);
        EXPECT_EQ(run.code, c.code) << c.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << c.err;
    }
    // A store that is not there.
    const auto none = shop.run({"dict", "code", "NONE.dic", "Customer", "--loop", "1"});
    EXPECT_EQ(none.code, 1);
    EXPECT_NE(none.err.find("holds no imported dictionary"), std::string::npos);
}
