#include "equates/PopupRecord.h"

namespace kestrix::equates {

std::shared_ptr<const runtime::RecordLayout> popupLayout()
{
    static const std::shared_ptr<const runtime::RecordLayout> layout = [] {
        auto l = std::make_shared<runtime::RecordLayout>("POP");
        // Wide enough that long type names stay apart and a menu may have any number of entries.
        l->addString("TYPE", PopTypeLength);
        l->addNumber("SEQ", runtime::FieldType::Long);
        l->addString("ITEM", 30);
        l->addString("DATA", 500);
        // Primary: the header (SEQ 0) must stay in the key, so blanks are not left out.
        l->addKey("KEY", {Pop::Type, Pop::Seq}, true, true, false);
        return l;
    }();
    return layout;
}

} // namespace kestrix::equates
