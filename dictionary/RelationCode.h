#pragma once

#include "dictionary/CodeMenu.h"
#include "dictionary/FileTree.h"
#include "dictionary/SetLoopCode.h"

#include <string>
#include <vector>

// The relation popup of the dictionary tree: a loop along the relation, a GET on
// either side primed from the other, and the JOIN of a view.
namespace kestrix::dictionary {

struct LinkPair final
{
    std::string ownField;     // of the tree's file, or "NOLINK"
    std::string relatedField; // of the related file, or "NOLINK"
};

// One relation of the tree's file, with both keys qualified ("NOLINK" stays as it is).
struct RelationContext final
{
    DicFile file;           // F1, the tree's file
    DicFile related;        // F2
    std::string ownKey;     // K1 as the tree names it
    std::string relatedKey; // K2
    std::string ownKeyQualified;
    std::string relatedKeyQualified;
    std::vector<LinkPair> pairs;
    bool fileHasMemo = false;    // F1 has MEMO or BLOB fields
    bool relatedHasMemo = false; // F2 has them; the caller that knows F2's rows sets it
};

// The relation whose first line is `relationLine`; `related` is the DicFiles record of the file the
// line names. False when the line is not a relation's first line.
bool relationContextOf(const FileTree& tree, int relationLine, const DicFile& related,
                       RelationContext& context);
// The index of the relation's first line for any of its lines, or -1.
int relationLineOf(const FileTree& tree, int line);

bool isNoLinkName(const std::string& name);

// Items whose key is NOLINK are disabled.
CodeMenu relationMenu(const RelationContext& relation);
// The Get items on a side with MEMO or BLOB fields offer NOMEMO, as "Get(File,Key)" does.
bool relationItemOffersNoMemo(int id, const RelationContext& relation);
CodeChoice relationMenuChoice(int id, const RelationContext& relation, const CodeStyle& style, bool noMemo);

// The file, key and primed components of the relation loop "Set(K1,K1)".
KeyContext relationKeyContext(const RelationContext& relation);

} // namespace kestrix::dictionary
