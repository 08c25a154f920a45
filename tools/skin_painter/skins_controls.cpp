// Small controls: the shared scroll bar, the popup menu, the edit box, the combobox and
// the check box.
#include "palette.h"
#include "skins.h"

namespace orvo::painter {
namespace {

const Argb kThumb[4] = {Rgb(196, 202, 211), Rgb(166, 174, 186), Rgb(136, 145, 158),
                        Rgb(224, 227, 232)};

// scroll_back, 22 x 22: 2 frames of 11 x 22 (normal, hover): the track shows only while
// the pointer is over the bar.
PngImage ScrollBack() {
  return Strip(11, 22, 2, [](Bitmap32& b, int frame) {
    if (frame == 1) b.Clear(Rgb(20, 40, 70, 14));
  });
}

// scroll_slider, 44 x 22: 4 frames of 11 x 22 (normal, over, down, disabled), a slim
// capsule; SliderSplit rows 7 and 15 keep its round ends whole when it is stretched.
PngImage ScrollSlider() {
  return Strip(11, 22, 4,
               [](Bitmap32& b, int frame) { Fill(b, RoundRect(2, 1, 9, 21, 3.5), kThumb[frame]); });
}

// scroll_btn_up / scroll_btn_down, 44 x 13: 4 frames of 11 x 13 with a small chevron.
PngImage ScrollButton(bool up) {
  return Strip(11, 13, 4, [up](Bitmap32& b, int frame) {
    const Argb c = frame == 3 ? kThumb[3] : Darken(kThumb[frame], 0.1);
    const double tip = up ? 4.5 : 8.5, base = up ? 8 : 5;
    Fill(b, Polyline({{2.8, base}, {5.5, tip}, {8.2, base}}, 1.4), c);
  });
}

// scroll_center, 44 x 10: 4 frames of 11 x 10, the grip lines drawn on the thumb.
PngImage ScrollCenter() {
  return Strip(11, 10, 4, [](Bitmap32& b, int frame) {
    const Argb c = Lighten(kThumb[frame], 0.35);
    for (int y : {3, 5, 7}) HLine(b, 4, 7, y, c);
  });
}

// menu_back, 18 x 18: white body with a hairline border inside a shadow margin (content is
// inset 5, AlphaWidth); nine-slice at (7, 7, 11, 11), where the edges run straight.
PngImage MenuBack() {
  Bitmap32 b = Blank(18, 18);
  const Sdf body = RoundRect(3, 3, 15, 15, 2);
  Shadow(b, body, 0, 1, 2.0f, Rgb(10, 24, 44, 70));
  Fill(b, body, kWhite);
  Fill(b, Outline(Inset(body, 0.5), 1), Rgb(206, 212, 221));
  return ToPng(b);
}

// menu_item, 42 x 4: one frame (hot) three-sliced at (2, 5): a flat highlight.
PngImage MenuItem() {
  Bitmap32 b = Blank(42, 4);
  b.Clear(Rgb(229, 240, 252));
  return ToPng(b);
}

// menu_line, 117 x 1: the separator, fading out at both ends.
PngImage MenuLine() {
  Bitmap32 b = Blank(117, 1);
  Fill(b, RoundRect(0, 0, 117, 1, 0), [](double x, double) {
    const double edge = std::min(x, 117 - x) / 12;
    return Fade(Rgb(214, 220, 228), std::min(1.0, edge));
  });
  return ToPng(b);
}

// menu_subarrow, 36 x 18: 3 frames of 12 x 18 (normal, hot, disabled).
PngImage MenuSubArrow() {
  return Strip(12, 18, 3, [](Bitmap32& b, int frame) {
    const Argb c = frame == 0 ? Rgb(110, 118, 130) : frame == 1 ? kLinkBlue : Rgb(202, 206, 212);
    Fill(b, Polyline({{4.5, 5.5}, {8, 9}, {4.5, 12.5}}, 1.5), c);
  });
}

// menu_check, 28 x 28: 2 frames of 14 x 28 (enabled, disabled); menu_radio, 48 x 16:
// 2 frames of 24 x 16.
PngImage MenuCheck() {
  return Strip(14, 28, 2, [](Bitmap32& b, int frame) {
    Fill(b, Polyline({{3, 14.2}, {6, 17.2}, {11.2, 10.8}}, 1.8),
         frame == 0 ? kLinkBlue : Rgb(190, 196, 204));
  });
}

PngImage MenuRadio() {
  return Strip(24, 16, 2, [](Bitmap32& b, int frame) {
    Fill(b, Circle(12, 8, 3.2), frame == 0 ? kLinkBlue : Rgb(190, 196, 204));
  });
}

// menu_updown, 96 x 16: 6 frames of 16 x 16: up normal, hot, pressed, then down normal,
// hot, pressed.
PngImage MenuUpDown() {
  return Strip(16, 16, 6, [](Bitmap32& b, int frame) {
    const bool up = frame < 3;
    const int look = frame % 3;
    if (look > 0)
      Fill(b, RoundRect(1, 1, 15, 15, 3), look == 1 ? Rgb(232, 241, 252) : Rgb(214, 230, 249));
    const double tip = up ? 5.5 : 10.5, base = up ? 9.5 : 6.5;
    Fill(b, Polyline({{4.5, base}, {8, tip}, {11.5, base}}, 1.5),
         look == 0 ? Rgb(110, 118, 130) : kLinkBlue);
  });
}

// The shared field look of edit and combobox boxes; `state` 0 normal, 1 hot, 2 focused or
// pressed, 3 disabled.
void Field(Bitmap32& b, int state) {
  const double w = b.width(), h = b.height();
  const Sdf shape = RoundRect(0.5, 0.5, w - 0.5, h - 0.5, 3);
  const Argb border[4] = {kBorder, Rgb(150, 172, 200), kLinkBlue, Rgb(224, 228, 233)};
  Fill(b, shape, state == 3 ? Rgb(246, 247, 249) : kWhite);
  Fill(b, Outline(Inset(shape, 0.5), 1), border[state]);
  if (state == 2) Fill(b, Outline(Inset(shape, 1.5), 1), Rgb(22, 149, 230, 50));
}

// edit_box, 90 x 24: 3 frames of 30 x 24 (normal, hot, focused), three-sliced at 4 and 26.
PngImage EditBox() {
  return Strip(30, 24, 3, [](Bitmap32& b, int frame) { Field(b, frame); });
}

PngImage Caret() {
  Bitmap32 b = Blank(1, 14);
  b.Clear(Rgb(40, 40, 40));
  return ToPng(b);
}

PngImage PasswordDot() {
  Bitmap32 b = Blank(7, 7);
  Fill(b, Circle(3.5, 3.5, 3), kTextDark);
  return ToPng(b);
}

// combo_box, 96 x 24: 4 frames of 24 x 24 (normal, hot, pressed, disabled), three-sliced
// at 9 and 14.
PngImage ComboBox() {
  return Strip(24, 24, 4, [](Bitmap32& b, int frame) { Field(b, frame); });
}

// combo_button, 48 x 16: 3 frames of 16 x 16 (normal, hot, pressed), a chevron down.
PngImage ComboButton() {
  return Strip(16, 16, 3, [](Bitmap32& b, int frame) {
    const double dy = frame == 2 ? 1 : 0;
    Fill(b, Polyline({{4.5, 6.5 + dy}, {8, 10 + dy}, {11.5, 6.5 + dy}}, 1.5),
         frame == 0 ? Rgb(110, 118, 130) : kLinkBlue);
  });
}

// combo_extra, 64 x 16: 4 frames of 16 x 16 (normal, hot, pressed, disabled), a small
// clear mark.
PngImage ComboExtra() {
  return Strip(16, 16, 4, [](Bitmap32& b, int frame) {
    const Argb back[4] = {Rgb(214, 219, 226), kLinkBlue, kLinkBlueDark, Rgb(232, 235, 239)};
    Fill(b, Circle(8, 8, 6), back[frame]);
    Fill(b, Union(Segment({5.8, 5.8}, {10.2, 10.2}, 1.3), Segment({10.2, 5.8}, {5.8, 10.2}, 1.3)),
         kWhite);
  });
}

// combo_form, 30 x 30, split (10, 10, 20, 20): the drop-down panel with a 4-pixel shadow
// margin (AlphaWidth 4).
PngImage ComboForm() {
  Bitmap32 b = Blank(30, 30);
  const Sdf body = RoundRect(3, 3, 27, 27, 3);
  Shadow(b, body, 0, 1, 2.0f, Rgb(10, 24, 44, 60));
  Fill(b, body, kWhite);
  Fill(b, Outline(Inset(body, 0.5), 1), Rgb(206, 212, 221));
  return ToPng(b);
}

// combo_item, 18 x 22: the hot item, three-sliced at 4 and 14.
PngImage ComboItem() {
  Bitmap32 b = Blank(18, 22);
  Fill(b, RoundRect(1, 1, 17, 21, 3), Rgb(229, 240, 252));
  return ToPng(b);
}

// check, 64 x 16: 4 frames of 16 x 16 (unchecked, checked, unchecked hot, checked hot).
PngImage Check() {
  return Strip(16, 16, 4, [](Bitmap32& b, int frame) {
    const bool checked = frame % 2 == 1, hot = frame >= 2;
    const Sdf box = RoundRect(1.5, 1.5, 14.5, 14.5, 3);
    if (checked) {
      Fill(b, box, hot ? Hover(kLinkBlue) : kLinkBlue);
      Fill(b, Polyline({{4.6, 8.2}, {7, 10.6}, {11.4, 5.6}}, 1.7), kWhite);
    } else {
      Fill(b, box, kWhite);
      Fill(b, Outline(Inset(box, 0.5), 1), hot ? Rgb(130, 160, 200) : kBorder);
    }
  });
}

}  // namespace

void AddControlSkins(std::vector<SkinDef>& out) {
  out.push_back({"scroll_back", ScrollBack});
  out.push_back({"scroll_slider", ScrollSlider});
  out.push_back({"scroll_btn_up", [] { return ScrollButton(true); }});
  out.push_back({"scroll_btn_down", [] { return ScrollButton(false); }});
  out.push_back({"scroll_center", ScrollCenter});
  out.push_back({"menu_back", MenuBack});
  out.push_back({"menu_item", MenuItem});
  out.push_back({"menu_line", MenuLine});
  out.push_back({"menu_subarrow", MenuSubArrow});
  out.push_back({"menu_check", MenuCheck});
  out.push_back({"menu_radio", MenuRadio});
  out.push_back({"menu_updown", MenuUpDown});
  out.push_back({"edit_box", EditBox});
  out.push_back({"edit_caret", Caret});
  out.push_back({"edit_password", PasswordDot});
  out.push_back({"combo_box", ComboBox});
  out.push_back({"combo_button", ComboButton});
  out.push_back({"combo_extra", ComboExtra});
  out.push_back({"combo_form", ComboForm});
  out.push_back({"combo_item", ComboItem});
  out.push_back({"check", Check});
}

}  // namespace orvo::painter
