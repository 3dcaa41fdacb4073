#include "message/MessageInsertRecord.h"

#include "runtime/FixedText.h"

#include <stdexcept>

namespace kestrix::message {

std::shared_ptr<const runtime::RecordLayout> messageInsertLayout()
{
    static const std::shared_ptr<const runtime::RecordLayout> layout = [] {
        using runtime::FieldType;
        auto l = std::make_shared<runtime::RecordLayout>("MI");
        const auto check = [](int index, Mi::Field expected) {
            if (index != expected)
                throw std::logic_error("message insert layout out of order");
        };
        check(l->addString("TEXT1", Mi::Text1Length), Mi::Text1);
        check(l->addString("TEXT2", Mi::TextLength - Mi::Text1Length), Mi::Text2);
        check(l->addNumber("CURLY", FieldType::Byte), Mi::Curly);
        check(l->addNumber("CLIP", FieldType::Byte), Mi::Clip);
        l->addKey("KEY", {Mi::Text1});
        return l;
    }();
    return layout;
}

std::string insertText(const runtime::Record& insert)
{
    // The first field is padded back to its width: a blank at its end belongs to the text.
    std::string text = insert.text(Mi::Text1);
    const std::string rest = insert.text(Mi::Text2);
    if (rest.empty())
        return text;
    text.resize(Mi::Text1Length, ' ');
    return text + rest;
}

void setInsertText(runtime::Record& insert, const std::string& text)
{
    const std::string whole = runtime::fitted(text, Mi::TextLength);
    insert.setText(Mi::Text1, whole.substr(0, Mi::Text1Length));
    insert.setText(Mi::Text2, whole.size() > Mi::Text1Length ? whole.substr(Mi::Text1Length) : std::string());
}

std::string miscInsertPiece(const runtime::Record& insert)
{
    std::string piece = insertText(insert);
    if (insert.number(Mi::Clip) != 0)
        piece = "CLIP(" + piece + ")";
    if (insert.number(Mi::Curly) != 0)
        piece = "{" + piece + "}";
    return piece;
}

} // namespace kestrix::message
