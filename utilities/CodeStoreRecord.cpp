#include "utilities/CodeStoreRecord.h"

#include <stdexcept>

namespace kestrix::utilities {

namespace {
void expectIndex(int index, int expected)
{
    if (index != expected)
        throw std::logic_error("code library layout out of order");
}
} // namespace

std::shared_ptr<const runtime::RecordLayout> snippetLayout()
{
    static const std::shared_ptr<const runtime::RecordLayout> layout = [] {
        auto l = std::make_shared<runtime::RecordLayout>("CDS");
        expectIndex(l->addString("TYPE", static_cast<int>(Cds::TypeLength)), Cds::Type);
        expectIndex(l->addString("NAME", static_cast<int>(Cds::NameLength)), Cds::Name);
        expectIndex(l->addString("CODE", static_cast<int>(Cds::CodeLength)), Cds::Code);
        expectIndex(l->addKey("BYNAME", {Cds::Type, Cds::Name}), Cds::ByName);
        return l;
    }();
    return layout;
}

std::shared_ptr<const runtime::RecordLayout> codeTypeLayout()
{
    static const std::shared_ptr<const runtime::RecordLayout> layout = [] {
        auto l = std::make_shared<runtime::RecordLayout>("CDT");
        expectIndex(l->addString("TYPE", static_cast<int>(Cds::TypeLength)), Cdt::Type);
        expectIndex(l->addKey("KEY", {Cdt::Type}, true), Cdt::Key);
        return l;
    }();
    return layout;
}

} // namespace kestrix::utilities
