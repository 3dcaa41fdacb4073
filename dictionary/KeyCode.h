#pragma once

#include "dictionary/CodeMenu.h"
#include "dictionary/FileTree.h"
#include "dictionary/SetLoopCode.h"
#include "runtime/DialogService.h"

#include <string>
#include <vector>

// The key popup of the dictionary tree, and the code that reads a record by a key.
namespace kestrix::dictionary {

// A key of the tree with its components (values empty), for SET(Key,Key) and GET.
KeyContext keyContextOf(const FileTree& tree, int keyLine);

CodeMenu keyMenu();
// `keyLine`: the key's line in the tree. Set/Loop items ask for the window; "File Menu..."
// asks for the file menu.
CodeChoice keyMenuChoice(int id, const FileTree& tree, int keyLine, const CodeStyle& style, bool noMemo);

// "Get(File,Key)" on a file with MEMO or BLOB fields lets the user read without them: the caller asks
// noMemoQuestion and passes the answer as `noMemo`.
bool keyItemOffersNoMemo(int id, const FileTree& tree);
runtime::MessageRequest noMemoQuestion(const std::string& file);

// Primes the key and gets the record by it: ABC through TryFetch, legacy through GET.
std::vector<std::string> getByKeyLines(const std::string& file, const std::string& key,
                                       const KeyContext& context, bool hasMemo, bool noMemo,
                                       const CodeStyle& style);

} // namespace kestrix::dictionary
