#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// The references a tag holds that a page needs to look as it does online, beyond the links,
// images and embedded objects that every run rewrites.

namespace gl {

enum class StyleRole {
  Sheet,      // a style sheet: <link rel="stylesheet" href>, @import
  Picture,    // an icon, a video's poster, an object's data, a picture a sheet names
  File,       // anything else a sheet names (fonts ...)
  Srcset,     // a srcset value: a list of pictures
  StyleText,  // a style attribute: style-sheet text
};

struct StyleReferenceSpan {
  std::size_t From = 0;  // the value's first byte inside the tag, after any quote
  std::size_t To = 0;    // one past its last byte
  StyleRole Role = StyleRole::Sheet;
};

// The references of one tag (from its '<' to its '>', or as much of it as is read), in the order
// they stand: the href of a style sheet or icon link, the srcset of `img` and `source`, the data
// of `object`, the poster of `video`, and the style attribute of any tag. A value that does not
// end inside the tag is left out.
std::vector<StyleReferenceSpan> StyleReferencesOfTag(std::string_view tag);

// True for the bytes after the '<' of a <style> tag, whose content up to "</style" is a sheet.
bool StartsStyleBlock(std::string_view afterOpen);

}  // namespace gl
