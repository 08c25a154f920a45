#pragma once
// The compact, pure-ASCII JSON the browsers' files are written back in: no blanks or line
// breaks, member order as held, and in strings '"' and '\' escaped, '/' as "\/",
// \b \t \n \f \r, every other character below U+0020 or above U+007F as "\u" with four
// lower-case hex digits (characters beyond U+FFFF as their surrogate pair).
//
// Numbers are written as the parser stored them: integers exactly; floating-point values
// in the shortest form that reads back as the same double (1.50 comes back as 1.5).
#include <string>

#include "catalogue/json_document.h"

namespace orvo {

std::string WriteCompactJson(const Json& value);
// Appends one string value, quoted and escaped.
void AppendJsonString(std::string& out, std::string_view utf8);

}  // namespace orvo
