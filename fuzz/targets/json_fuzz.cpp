// The browsers' JSON files: whatever the bytes, parsing gives a document or nothing, and a
// document written back is pure ASCII and parses again to the same document. The
// catalogues rely on that round trip every time they rewrite a profile's file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalogue/json_document.h"
#include "catalogue/json_writer.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string why;
  const auto document = orvo::ParseJsonDocument(text, &why);
  FUZZ_CHECK((document == nullptr) != why.empty());
  if (!document) return 0;
  const std::string written = orvo::WriteCompactJson(document->value);
  FUZZ_CHECK(orvo::fuzz::IsAscii(written));
  const auto again = orvo::ParseJsonDocument(written);
  FUZZ_CHECK(again != nullptr);
  FUZZ_CHECK(again->value == document->value);
  FUZZ_CHECK(orvo::WriteCompactJson(again->value) == written);
  return 0;
}
