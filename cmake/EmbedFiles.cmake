# Writes OUT, a C++ source that holds the bytes of FILES (a |-separated list) for
# kestrix::resources::deliveredFiles(). Run with cmake -P.
string(REPLACE "|" ";" FILES "${FILES}")
set(body "")
set(table "")
set(index 0)
foreach(path IN LISTS FILES)
  get_filename_component(name "${path}" NAME)
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" hexLength)
  math(EXPR size "${hexLength} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(APPEND body "static const char file${index}[] = {${bytes} 0};\n")
  string(APPEND table "    {\"${name}\", std::string_view(file${index}, ${size})},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUT}.tmp" "// Generated from resources/data: the files the program copies into its data directory.
#include \"resources/DeliveredFiles.h\"

namespace kestrix::resources {
namespace {
${body}} // namespace

const std::vector<DeliveredFile>& deliveredFiles()
{
    static const std::vector<DeliveredFile> files = {
${table}    };
    return files;
}

} // namespace kestrix::resources
")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
