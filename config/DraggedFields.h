#pragma once

#include <string>
#include <vector>

// The fields last dragged from the dictionary tree, read by every control that
// accepts the drop. One list for the whole process.
namespace kestrix::config {

struct DraggedField final
{
    std::string vari;    // the field as used in code, up to 50 characters
    std::string type;    // its declaration, up to 30
    std::string picture; // its display picture, up to 30; blank when none
};

using DraggedFieldList = std::vector<DraggedField>;

// The drag identifier of dictionary fields.
constexpr const char* DraggedFieldsMime = "application/x-kestrix-dicv";

} // namespace kestrix::config
