#include "message/TextInsertion.h"

#include "runtime/FixedText.h"

#include <algorithm>

namespace kestrix::message {

std::optional<InsertedText> insertPiece(const std::string& text, const std::string& piece, int caret,
                                        std::size_t limit)
{
    std::string clean(runtime::rtrim(piece));
    int fromEnd = 0;
    if (const std::size_t mark = clean.find('^'); mark != std::string::npos) {
        clean.erase(mark, 1);
        clean = runtime::clip(clean);
        fromEnd = static_cast<int>(clean.size()) - static_cast<int>(mark);
    }
    const int at = std::clamp(caret, 0, static_cast<int>(text.size()));
    std::string result = at < 1 ? clean + " " + text
                                : text.substr(0, static_cast<std::size_t>(at)) + clean + " " +
                                      text.substr(static_cast<std::size_t>(at));
    // What would fall off the end is the user's own text.
    if (runtime::rtrim(result).size() > limit)
        return std::nullopt;
    result = runtime::fitted(result, limit);
    return InsertedText{result, std::max(at, 0) + static_cast<int>(clean.size()) - fromEnd};
}

runtime::MessageRequest pieceDoesNotFit(const std::string& textName, std::size_t limit)
{
    return {"The insert does not fit: the " + textName + " holds at most " + std::to_string(limit) +
                " characters.",
            runtime::upper(textName) + " FULL", runtime::MessageIcon::Exclamation, runtime::Button::Ok,
            runtime::Button::Ok};
}

std::string fieldDropPiece(const config::DraggedFieldList& fields, const std::string& caption)
{
    const bool debug = runtime::findNoCase(caption, "DEBUG") != std::string::npos;
    std::string piece;
    for (const config::DraggedField& field : fields) {
        const std::string vari(runtime::trim(field.vari));
        const std::string picture(runtime::trim(field.picture));
        std::string one;
        if (!picture.empty())
            one = "{FORMAT(" + vari + "," + picture + ")}";
        else if (runtime::upper(field.type).substr(std::min<std::size_t>(1, field.type.size()), 6) ==
                 "STRING")
            one = "{" + vari + "}"; // CSTRING and PSTRING hold no trailing blanks
        else
            one = "{CLIP(" + vari + ")}";
        piece += debug ? vari + " = " + one + "\r\n" : one;
    }
    if (piece.size() > InsertBufferLength)
        piece.resize(InsertBufferLength);
    return piece;
}

} // namespace kestrix::message
