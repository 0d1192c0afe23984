// How deeply the elements of an XML text nest, found without parsing it, so that a file nested
// deeper than any scene file is refused before a recursive parser can run out of stack.
#pragma once

#include <cstddef>
#include <string_view>

// The deepest element nesting of text, or a little more where the text is malformed (never less).
// Comments, CDATA sections, declarations and quoted attribute values are passed over. Stops
// counting once limit is exceeded and returns limit + 1.
size_t XmlNestingDepth(std::string_view text, size_t limit);
