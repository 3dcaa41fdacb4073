#pragma once

#include "config/DraggedFields.h"
#include "runtime/DialogService.h"

#include <optional>
#include <string>

// Putting a piece (a quick insert, an insert record, dropped fields) into the
// message text at the caret.
namespace kestrix::message {

constexpr std::size_t MessageTextLength = 1000;
constexpr std::size_t InsertBufferLength = 500;

struct InsertedText final
{
    std::string text;
    int caret = 0; // characters before the caret
};

// `caret` counts the characters before the caret. The piece lands there followed
// by a blank; a "^" in it marks where the caret goes (the first "^" is removed).
// Nothing when the result would not fit in `limit` characters.
std::optional<InsertedText> insertPiece(const std::string& text, const std::string& piece, int caret,
                                        std::size_t limit = MessageTextLength);

// The box shown when a piece does not fit: `textName` is what holds it ("message text").
runtime::MessageRequest pieceDoesNotFit(const std::string& textName, std::size_t limit);

// The piece for fields dropped on the text box: each as an expression in braces,
// or, when the caption asks for DEBUG output, each on a line of its own.
std::string fieldDropPiece(const config::DraggedFieldList& fields, const std::string& caption);

} // namespace kestrix::message
