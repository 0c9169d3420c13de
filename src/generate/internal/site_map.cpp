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

void WriteSiteMapTree(CheckedFile& map, const TOCList& root) {
  // Each entry is the next node to print at one level of the tree.
  std::vector<const TOCList::Node*> pending{root.First()};
  while (!pending.empty()) {
    const TOCList::Node* node = pending.back();
    if (node == nullptr) {
      pending.pop_back();
      if (!pending.empty()) map << "</ul>";
      continue;
    }
    pending.back() = node->Next;
    if (!node->Name().empty()) {
      map << "<li><a href=\"";
      if (node->Page != nullptr) map << node->Page->LocalName();
      map << node->Fragment() << "\">" << node->Name() << "</a>"
          << "</li>";
    }
    if (node->Children.First() != nullptr) {
      map << "<ul>";
      pending.push_back(node->Children.First());
    }
  }
}

void FinishSiteMap(CheckedFile& map, const TOCList& root, const LinkSet& links) {
  WriteSiteMapTree(map, root);
  map << "</ul></ul>";
  PrintBriefFooter(map, links);
  map << "</body></html>";
  map.Close();
}

}  // namespace gl
