// Pixel-exact pictures of the portable text renderer (Wine's Tahoma through FreeType), one
// per DrawText format bit and font style, compared with the goldens in tests/golden/.
#include <gtest/gtest.h>

#include "graphics/canvas.h"
#include "support/pixels.h"

namespace orvo {
namespace {

struct GoldenText {
  const char* name;
  const char* text;
  uint32_t format;
  uint8_t style;
};

const char* const kLong = "Are you sure to delete this plug-in? It cannot be undone later.";

const GoldenText kCases[] = {
    {"left", "Set as default browser", kDtLeft | kDtSingleLine, 0},
    {"center_vcenter", "Set as default browser", kDtCenter | kDtVCenter | kDtSingleLine, 0},
    {"right_bottom", "Set as default browser", kDtRight | kDtBottom | kDtSingleLine, 0},
    {"word_break", kLong, kDtWordBreak, 0},
    {"edit_control_ellipsis", kLong, kDtWordBreak | kDtEditControl | kDtEndEllipsis, 0},
    {"end_ellipsis", kLong, kDtSingleLine | kDtEndEllipsis, 0},
    {"prefix", "&Check for &&Updates", kDtSingleLine | kDtVCenter, 0},
    {"no_prefix", "&Check for &&Updates", kDtSingleLine | kDtVCenter | kDtNoPrefix, 0},
    {"hide_prefix", "&Check for &&Updates", kDtSingleLine | kDtVCenter | kDtHidePrefix, 0},
    {"bold", "Orvo Plugin Manager", kDtSingleLine | kDtVCenter, fsBold},
    {"italic_underline", "Check for Updates", kDtSingleLine | kDtVCenter, fsItalic | fsUnderline},
    {"no_clip", kLong, kDtSingleLine | kDtNoClip, 0},
};

class TextGolden : public ::testing::TestWithParam<GoldenText> {};

TEST_P(TextGolden, MatchesThePicture) {
  const GoldenText& g = GetParam();
  Bitmap32 b = test::Filled(180, 44, 0xFFFFFFFF);
  Canvas& c = b.canvas();
  const Rect box{10, 4, 150, 40};
  c.brush.color = MakeColor(220, 226, 234);
  c.FrameRect({box.left - 1, box.top - 1, box.right + 1, box.bottom + 1});
  c.font.color = MakeColor(56, 56, 56);
  c.font.style = g.style;
  Rect r = box;
  c.DrawText(g.text, r, g.format);
  EXPECT_TRUE(test::MatchesGolden(b, std::string("text_") + g.name));
}

INSTANTIATE_TEST_SUITE_P(Formats, TextGolden, ::testing::ValuesIn(kCases),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(TextGoldenCalc, CalcRectFramesTheText) {
  Bitmap32 b = test::Filled(180, 60, 0xFFFFFFFF);
  Canvas& c = b.canvas();
  c.font.color = clBlack;
  Rect r{10, 5, 120, 5};
  c.DrawText(kLong, r, kDtWordBreak | kDtCalcRect);
  c.brush.color = MakeColor(22, 149, 230);
  c.FrameRect({r.left - 1, r.top - 1, r.right + 1, r.bottom + 1});
  c.DrawText(kLong, r, kDtWordBreak);
  EXPECT_TRUE(test::MatchesGolden(b, "text_calc_rect"));
}

}  // namespace
}  // namespace orvo
