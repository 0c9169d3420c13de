#include "core/entry_holder.h"

#include "core/byte_text.h"
#include "core/utf8_text.h"

namespace gl {
namespace {

void CutHeldText(std::string& text) {
  text.resize(FirstCharacters(text, kHeldTextCharacters).size());
}

}  // namespace

void EntryHolder::Copy(const TWebEntry& entry, std::string_view depthText) {
  entry_ = entry;
  depthText_ = depthText;
  for (std::string* text : {&entry_.Name, &depthText_, &entry_.URL, &entry_.UserName,
                            &entry_.Password, &entry_.ExtraText})
    CutHeldText(*text);
  hasClip_ = true;
}

UserMessage DeleteEntryQuestion(std::string_view verb) {
  return {std::string(verb) + " a Web Entry", "Are you sure you want to " + LowerAscii(verb) +
                                                  " this Web Entry and all of its properties?"};
}

}  // namespace gl
