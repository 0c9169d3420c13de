#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/brief_record.h"
#include "core/user_message.h"

// Cut, copy and paste of web entries between brief windows go through one entry holder kept by
// the program, never through the system clipboard: nothing is offered to other programs and
// nothing from them can be pasted. The holder also carries the text of the row's depth column,
// which is the depth in decimal except for a bookmark taken in before its depth was set.

namespace gl {

// The longest text, in characters, that passes through the holder.
inline constexpr std::size_t kHeldTextCharacters = 256;

class EntryHolder {
 public:
  // True after the first copy; it never becomes false again.
  bool HasClip() const { return hasClip_; }

  // Takes every field of `entry` and the depth text of its row, each text cut to its first 256
  // characters.
  void Copy(const TWebEntry& entry, std::string_view depthText);

  // What was copied last. Meaningful once HasClip() is true.
  const TWebEntry& Entry() const { return entry_; }
  const std::string& DepthText() const { return depthText_; }

 private:
  TWebEntry entry_;
  std::string depthText_;
  bool hasClip_ = false;
};

// The confirmation before an entry is deleted with a verb ("Delete", "Cut"): titled
// "Cut a Web Entry", asking "Are you sure you want to cut this Web Entry and all of its
// properties?".
UserMessage DeleteEntryQuestion(std::string_view verb);

}  // namespace gl
