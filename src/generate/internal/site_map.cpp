#include "generate/internal/site_map.h"

#include <vector>

#include "core/page_table.h"

namespace gl {

void WriteSiteMapOpening(RunContext& run, CheckedFile& map, const LinkSet& links) {
  map << "<html><body bgcolor=#FFFFFF text=\"0000FF\" link=\"FF0000\"><title>Site Map</title>";
  run.WriteHeader(map, "Site Map", false, links);
  map << "<h1>Site Map</h1><ul>"
      << "<ul>";
}

void WriteSiteMapTree(CheckedFile& map, const TOCList& tree, const THashTable& pages) {
  // Each entry is the next node to print at one level of the tree.
  std::vector<std::uint32_t> pending{tree.First()};
  while (!pending.empty()) {
    const std::uint32_t node = pending.back();
    if (node == 0) {
      pending.pop_back();
      if (!pending.empty()) map << "</ul>";
      continue;
    }
    pending.back() = tree.Next(node);
    if (!tree.Name(node).empty()) {
      map << "<li><a href=\"";
      if (tree.Page(node) != 0) map << pages.LocalName(pages.RecordAt(tree.Page(node)));
      map << tree.Fragment(node) << "\">" << tree.Name(node) << "</a>"
          << "</li>";
    }
    if (tree.First(node) != 0) {
      map << "<ul>";
      pending.push_back(tree.First(node));
    }
  }
}

void FinishSiteMap(CheckedFile& map, const TOCList& tree, const THashTable& pages,
                   const LinkSet& links) {
  WriteSiteMapTree(map, tree, pages);
  map << "</ul></ul>";
  PrintBriefFooter(map, links);
  map << "</body></html>";
  map.Close();
}

}  // namespace gl
