#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace gl {

// Where one candidate's address stands in a srcset value: [From, To).
struct SrcsetCandidate {
  std::size_t From = 0;
  std::size_t To = 0;
};

// The addresses of every candidate of an `img` or `source` element's srcset value, in order, as
// the HTML standard's "parse a srcset attribute" splits them: a candidate is a run of bytes
// without blanks, trailing commas dropped, followed by descriptors up to the next comma outside
// parentheses. Commas inside an address ("data:image/png;base64,...") stay in it.
std::vector<SrcsetCandidate> SrcsetCandidates(std::string_view value);

}  // namespace gl
