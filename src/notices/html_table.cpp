// Tables as rows of blocks: each row's cells share the table's width; a row is as high as
// its highest cell, and every cell is stretched to it.
#include <algorithm>

#include "notices/html_document.h"
#include "notices/html_layouter.h"

namespace orvo::html {
namespace {

constexpr int kMaxColspan = 50;
const TColor kCellFrame = MakeColor(128, 128, 128);

int IntAttribute(const HtmlNode& node, std::string_view name, int fallback, int max) {
  return std::clamp(node.IntegerAttribute(name).value_or(fallback), 0, max);
}

// The rows in order: those of the table itself and of its head, bodies and foot.
void Rows(const HtmlNode& table, std::vector<const HtmlNode*>& rows) {
  for (const auto& child : table.children) {
    if (child->IsElement("tr")) {
      rows.push_back(child.get());
    } else if (child->IsElement("thead") || child->IsElement("tbody") ||
               child->IsElement("tfoot")) {
      Rows(*child, rows);
    }
  }
}

struct Cell {
  const HtmlNode* node;
  HtmlStyle style;
  int span;
  int width = 0;
  bool fixed = false;
};

// Fixed widths first; the rest of the row shared by span; everything scaled to fill the
// row exactly when all cells are fixed or they ask for more than there is.
void ShareWidths(std::vector<Cell>& cells, int inner) {
  int fixed_sum = 0, free_units = 0;
  for (Cell& c : cells) {
    if (c.style.width) {
      c.fixed = true;
      c.width = std::max(0, c.style.width->Resolve(inner, c.style.font_px));
      fixed_sum += c.width;
    } else {
      free_units += c.span;
    }
  }
  if (free_units > 0 && fixed_sum < inner) {
    int left = inner - fixed_sum;
    int units_left = free_units;
    for (Cell& c : cells) {
      if (c.fixed) continue;
      c.width = units_left == c.span ? left : left * c.span / units_left;
      left -= c.width;
      units_left -= c.span;
    }
    return;
  }
  if (fixed_sum <= 0) {
    for (Cell& c : cells) c.width = 0;
    return;
  }
  int given = 0;
  for (size_t i = 0; i < cells.size(); ++i) {
    Cell& c = cells[i];
    c.width = i + 1 == cells.size()
                  ? inner - given
                  : static_cast<int>(static_cast<long long>(c.width) * inner / fixed_sum);
    given += c.width;
  }
}

}  // namespace

int Layouter::LayoutTableContent(const HtmlNode& table, const HtmlStyle& style, int x, int y,
                                 int width, const std::string* link) {
  const int spacing = IntAttribute(table, "cellspacing", 2, 100);
  const int padding = IntAttribute(table, "cellpadding", 1, 100);
  const bool framed = IntAttribute(table, "border", 0, 100) > 0;
  std::vector<const HtmlNode*> rows;
  Rows(table, rows);
  int cursor = y + spacing;
  bool any = false;
  for (const HtmlNode* row : rows) {
    const HtmlStyle row_style = ComputeStyle(*row, style);
    if (row_style.hidden) continue;
    std::vector<Cell> cells;
    for (const auto& child : row->children) {
      if (!child->IsElement("td") && !child->IsElement("th")) continue;
      HtmlStyle cs = ComputeStyle(*child, row_style, padding);
      if (cs.hidden) continue;
      if (!child->Attribute("valign") && row->Attribute("valign")) cs.valign = row_style.valign;
      if (framed && std::all_of(cs.border.begin(), cs.border.end(),
                                [](const BorderSide& b) { return b.width == 0; })) {
        cs.border = {BorderSide{1, kCellFrame}, BorderSide{1, kCellFrame},
                     BorderSide{1, kCellFrame}, BorderSide{1, kCellFrame}};
      }
      const int span = std::clamp(IntAttribute(*child, "colspan", 1, kMaxColspan), 1, kMaxColspan);
      cells.push_back({child.get(), std::move(cs), span});
    }
    if (cells.empty()) continue;
    any = true;
    const int inner = std::max(0, width - spacing * static_cast<int>(cells.size() + 1));
    ShareWidths(cells, inner);
    const size_t row_background =
        row_style.background != clNone ? AddFill({}, row_style.background) : kNone;
    std::vector<Box> boxes;
    int row_height = 0;
    int cell_x = x + spacing;
    for (const Cell& c : cells) {
      boxes.push_back(LayoutBox(*c.node, c.style, cell_x, cursor, c.width, LinkOf(*c.node, link)));
      row_height = std::max(row_height, boxes.back().height);
      cell_x += c.width + spacing;
    }
    for (size_t i = 0; i < cells.size(); ++i) {
      const int room = row_height - boxes[i].height;
      const VerticalAlign v = cells[i].style.valign;
      const int dy = v == VerticalAlign::kTop ? 0 : v == VerticalAlign::kBottom ? room : room / 2;
      Stretch(boxes[i], row_height, dy);
    }
    if (row_background != kNone) {
      out().items[row_background].rect = {x + spacing, cursor, x + width - spacing,
                                          cursor + row_height};
    }
    cursor += row_height + spacing;
  }
  return any ? cursor - y : 0;
}

}  // namespace orvo::html
