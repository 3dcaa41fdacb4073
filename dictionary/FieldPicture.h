#pragma once

#include <string>
#include <vector>

// What a field's declaration (the text after its label in the tree) says about
// how code shows it: the picture FORMAT() uses, and the values of an INLIST().
namespace kestrix::dictionary {

// The picture for FORMAT(field, picture); empty for string-like fields, which CLIP() shows.
std::string displayPicture(const std::string& declaration);
// The values of the INLIST() validity list, without their quotes; empty when there is none.
std::vector<std::string> inListValues(const std::string& declaration);

} // namespace kestrix::dictionary
