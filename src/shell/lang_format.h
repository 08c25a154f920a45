#pragma once
// Filling the placeholders of translated texts ("%d plug-ins were found", "Current
// Version:%s"). The texts come from language files anyone can edit, so they are never
// handed to printf: each "%d" or "%s" takes the next argument, already written as text,
// "%%" is one "%", and anything else (a placeholder without an argument left, "%n", a
// lone "%") stays as it stands.
#include <initializer_list>
#include <string>
#include <string_view>

namespace orvo {

std::string FormatLangText(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace orvo
