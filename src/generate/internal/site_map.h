#pragma once

#include "core/contents_tree.h"
#include "core/page_table.h"
#include "generate/internal/checked_file.h"
#include "generate/internal/navigation.h"
#include "generate/internal/run_context.h"

// The site map page of a web entry, written from its contents tree: opened when the entry starts,
// finished when its last level is done.

namespace gl {

// Everything before the tree: the page's opening tags, its navigation header and the list start.
void WriteSiteMapOpening(RunContext& run, CheckedFile& map, const LinkSet& links);

// The tree, depth first: every node with a name as a list item linking to its page's local name
// (and fragment); each non-empty child level as a nested list. Iterative, so a deep site never
// exhausts the stack.
void WriteSiteMapTree(CheckedFile& map, const TOCList& tree, const THashTable& pages);

// The tree, the list ends, the navigation footer and the closing tags; closes the file.
void FinishSiteMap(CheckedFile& map, const TOCList& tree, const THashTable& pages,
                   const LinkSet& links);

}  // namespace gl
