#include "core/brief_record.h"

#include <cstddef>
#include <utility>

namespace gl {

void CreateNewBrief(TBriefRecord& brief) {
  brief = TBriefRecord{};
}

TWebEntry& CreateNewWebEntry(TBriefRecord& brief, std::size_t index) {
  const auto at = brief.WebList.begin() + static_cast<std::ptrdiff_t>(index);
  return *brief.WebList.insert(at, TWebEntry{});
}

void UpdateShownName(TWebEntry& entry) {
  if (entry.NameSet) return;
  entry.Name = entry.URL.empty() ? std::string(texts::kNewPage) : entry.URL;
}

void SetTypedName(TWebEntry& entry, std::string name) {
  entry.NameSet = !name.empty();
  entry.Name = std::move(name);
  UpdateShownName(entry);
}

std::string_view StateText(const TBriefRecord& brief) {
  return brief.Active ? texts::kActive : texts::kInactive;
}

}  // namespace gl
