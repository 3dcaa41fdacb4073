#include "equates/EquateRecord.h"

namespace kestrix::equates {

std::shared_ptr<const runtime::RecordLayout> equateLayout()
{
    static const std::shared_ptr<const runtime::RecordLayout> layout = [] {
        using runtime::FieldType;
        auto l = std::make_shared<runtime::RecordLayout>("EQU");
        l->addString("TYPE", 12);
        l->addString("SEARCHNAME", 30);
        l->addString("NAME", 30);
        l->addString("EQUATE", 20);
        l->addNumber("LONG", FieldType::Long);
        l->addString("HEX", 10);
        l->addString("FILE", 8);
        l->addNumber("LOADSEQ", FieldType::Long);
        l->addString("NOTES", 40);
        l->addKey("BYTYPE", {Equ::Type, Equ::SearchName});
        l->addKey("BYLONG", {Equ::Type, Equ::Long});
        l->addKey("BYSEQ", {Equ::Type, Equ::LoadSeq});
        l->addKey("BYNAME", {Equ::Name});
        return l;
    }();
    return layout;
}

} // namespace kestrix::equates
