// Form body reading; see form_body.h for why markers are chosen per field.
#include "form_body.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/text.h"

namespace orvo::service {
namespace {

std::vector<std::string_view> SplitPieces(std::string_view body) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  while (true) {
    const size_t amp = body.find('&', start);
    pieces.push_back(body.substr(start, amp == std::string_view::npos ? amp : amp - start));
    if (amp == std::string_view::npos) break;
    start = amp + 1;
  }
  return pieces;
}

// The listed field a piece opens, if any.
std::optional<size_t> FieldOfPiece(std::string_view piece, std::span<const FieldSpec> fields) {
  const size_t eq = piece.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const std::string_view name = piece.substr(0, eq);
  for (size_t f = 0; f < fields.size(); ++f) {
    if (fields[f].name == name) return f;
  }
  return std::nullopt;
}

}  // namespace

std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t done = 0;  // text before this is in out
  for (size_t at = text.find('%'); at != std::string_view::npos; at = text.find('%', at + 1)) {
    if (at + 2 >= text.size()) break;
    const int hi = HexDigitValue(text[at + 1]);
    const int lo = HexDigitValue(text[at + 2]);
    if (hi < 0 || lo < 0) continue;
    out.append(text.substr(done, at - done));
    out += static_cast<char>(hi * 16 + lo);
    done = at + 3;
    at += 2;
  }
  out.append(text.substr(done));
  return out;
}

FormFields ReadFormBody(std::string_view body, std::span<const FieldSpec> fields) {
  const std::vector<std::string_view> pieces = SplitPieces(body);
  // For every listed field the index of the piece that opens it (npos: absent).
  std::vector<size_t> opener(fields.size(), std::string_view::npos);
  for (size_t p = 0; p < pieces.size(); ++p) {
    const auto f = FieldOfPiece(pieces[p], fields);
    if (!f) continue;
    if (opener[*f] == std::string_view::npos || fields[*f].marker == Marker::kLast) {
      opener[*f] = p;
    }
  }
  std::vector<std::pair<size_t, size_t>> starts;  // (piece index, field index)
  for (size_t f = 0; f < fields.size(); ++f) {
    if (opener[f] != std::string_view::npos) starts.emplace_back(opener[f], f);
  }
  std::sort(starts.begin(), starts.end());

  FormFields out;
  for (size_t s = 0; s < starts.size(); ++s) {
    const size_t first = starts[s].first;
    const size_t end = s + 1 < starts.size() ? starts[s + 1].first : pieces.size();
    const std::string_view name = fields[starts[s].second].name;
    std::string raw(pieces[first].substr(name.size() + 1));
    for (size_t p = first + 1; p < end; ++p) {
      raw += '&';
      raw += pieces[p];
    }
    out.emplace(std::string(name), PercentDecode(raw));
  }
  return out;
}

}  // namespace orvo::service
