// The list rows of the main and ratings windows: row looks, switches, the delete button,
// stars, rating bars and the review vote marks.
#include "palette.h"
#include "platform/text_format.h"
#include "skins.h"

namespace orvo::painter {
namespace {

// list_item, 20 x 70: 2 frames of 10 x 70 (hot, selected). Stretched to whole rows, so
// flat colours only.
PngImage ListItem() {
  return Strip(10, 70, 2,
               [](Bitmap32& b, int frame) { b.Clear(frame == 0 ? kRowHot : kRowSelected); });
}

PngImage Flat(int w, int h, Argb c) {
  Bitmap32 b = Blank(w, h);
  b.Clear(c);
  return ToPng(b);
}

// list_header, 90 x 25: one frame, a light gradient with a line at the bottom.
PngImage ListHeader() {
  Bitmap32 b = Blank(90, 25);
  Fill(b, RoundRect(0, 0, 90, 25, 0), Vertical(0, Rgb(252, 253, 254), 25, Rgb(240, 243, 247)));
  HLine(b, 0, 90, 24, kLine);
  return ToPng(b);
}

// Switches, 135 x 18: 3 frames of 45 x 18 (normal, hover, pressed). A pill track with a
// white knob at the "on" or "off" end and the state written on the free side.
PngImage Switch(bool on) {
  return Strip(45, 18, 3, [on](Bitmap32& b, int frame) {
    Argb track = on ? kGreen : kSwitchOff;
    if (frame == 1) track = Hover(track);
    if (frame == 2) track = Pressed(track);
    const double dy = frame == 2 ? 1 : 0;
    Fill(b, RoundRect(0.5, 0.5, 44.5, 17.5, 8.5), Vertical(0, Lighten(track, 0.06), 18, track));
    const double knob_x = on ? 35.5 : 9.5;
    Shadow(b, Circle(knob_x, 9 + dy, 6.6), 0, 0.8, 1.2f, Rgb(0, 0, 0, 70));
    Fill(b, Circle(knob_x, 9 + dy, 6.6), kWhite);
    const Rect label = on ? Rect{4, 0, 27, 18} : Rect{17, 0, 43, 18};
    Text(b, TextFont(8, true), label.Offset(0, static_cast<int>(dy)),
         kDtCenter | kDtVCenter | kDtSingleLine, on ? "ON" : "OFF",
         on ? kWhite : Rgb(92, 100, 112));
  });
}

// delete, 54 x 18: 3 frames of 18 x 18: a dustbin, grey, red on hover, darker pressed.
PngImage Delete() {
  return Strip(18, 18, 3, [](Bitmap32& b, int frame) {
    const Argb c = frame == 0 ? kBin : frame == 1 ? kRed : Pressed(kRed);
    const double dy = frame == 2 ? 1 : 0;
    Fill(b, RoundRect(3.5, 4 + dy, 14.5, 5.6 + dy, 0.6), c);
    Fill(b, Outline(RoundRect(7.2, 2.2 + dy, 10.8, 4.4 + dy, 0.8), 1.1), c);
    Sdf body = Polygon({{4.8, 6.6 + dy}, {13.2, 6.6 + dy}, {12.4, 15.6 + dy}, {5.6, 15.6 + dy}});
    body = Subtract(body, RoundRect(7.4, 8.2 + dy, 8.3, 14 + dy, 0.4));
    body = Subtract(body, RoundRect(9.7, 8.2 + dy, 10.6, 14 + dy, 0.4));
    Fill(b, body, c);
  });
}

enum class StarFill { kFull, kHalf, kEmpty };

// A five-pointed star in a square of `size`, gold, half gold or grey, with a hairline rim.
void DrawStar(Bitmap32& b, double size, StarFill fill, double inset = 0) {
  const double c = size / 2;
  const Sdf star = Star(c, c + size * 0.03, c - 0.4 - inset, (c - 0.4 - inset) * 0.42);
  const Paint gold = Vertical(0, Lighten(kGold, 0.15), size, kGold);
  const Paint grey = Solid(kStarGrey);
  if (fill == StarFill::kEmpty) {
    Fill(b, star, grey);
  } else if (fill == StarFill::kFull) {
    Fill(b, star, gold);
    Fill(b, Outline(star, 0.6), Fade(kGoldDark, 0.55));
  } else {
    Fill(b, star, grey);
    Fill(b, Intersect(star, HalfPlaneLeftOf(c)), gold);
    Fill(b, Intersect(Outline(star, 0.6), HalfPlaneLeftOf(c)), Fade(kGoldDark, 0.55));
  }
}

PngImage StarPicture(int size, StarFill fill) {
  Bitmap32 b = Blank(size, size);
  DrawStar(b, size, fill);
  return ToPng(b);
}

// star_glow, 19 x 19: a lit star with a soft golden halo.
PngImage StarGlow() {
  Bitmap32 b = Blank(19, 19);
  Shadow(b, Star(9.5, 9.8, 7.2, 3.0), 0, 0, 2.5f, Rgb(255, 196, 60, 200));
  Bitmap32 star = Blank(19, 19);
  DrawStar(star, 19, StarFill::kFull, 2);
  star.set_draw_mode(DrawMode::kBlend);
  star.set_combine_mode(CombineMode::kMerge);
  star.DrawTo(b, 0, 0);
  return ToPng(b);
}

enum class Mark { kReport, kTop, kStep };

// Review vote marks, 16 x 16, in the two looks the ratings window shows: "live" in link
// blue (the review can still be liked, disliked or reported) and "done" in a quiet grey
// (this user already did). The thumb of kTop points up, kStep's is kTop's upside down.
PngImage VoteMark(Mark mark, bool done) {
  Bitmap32 b = Blank(16, 16);
  const Argb c = done ? kVoteDone : kLinkBlue;
  const Paint paint = done ? Solid(c) : Vertical(2, Lighten(c, 0.12), 15, kLinkBlueDark);
  if (mark == Mark::kReport) {
    Fill(b, Segment({4, 2.5}, {4, 14.5}, 1.4), paint);
    Fill(b, Polygon({{4.6, 2.8}, {12.8, 2.8}, {10.6, 6}, {12.8, 9.2}, {4.6, 9.2}}), paint);
    return ToPng(b);
  }
  Sdf hand = RoundRect(6, 7, 13.6, 14, 1.6);
  hand = Union(hand, RoundRect(2.4, 7.4, 5, 14, 0.8));
  hand = Union(hand, Segment({7.6, 8}, {9.4, 3.2}, 2.6));
  if (mark == Mark::kStep) {
    const Sdf upright = hand;
    hand = [upright](double x, double y) { return upright(x, 16 - y); };
  }
  Fill(b, hand, paint);
  return ToPng(b);
}

// Rating bars, 9 x 9: a pill the ratings window three-slices to a bar's length (4 pixels
// at each end stay, the middle column stretches), so its ends stay round.
PngImage RatingBar(Argb top, Argb bottom) {
  Bitmap32 b = Blank(9, 9);
  Fill(b, RoundRect(0, 0, 9, 9, 4.5), Vertical(0, top, 9, bottom));
  return ToPng(b);
}

}  // namespace

void AddListSkins(std::vector<SkinDef>& out) {
  out.push_back({"list_item", ListItem});
  out.push_back({"list_selbox", [] { return Flat(10, 10, Rgb(22, 149, 230, 48)); }});
  out.push_back({"list_header", ListHeader});
  out.push_back({"switch_off", [] { return Switch(false); }});
  out.push_back({"switch_on", [] { return Switch(true); }});
  out.push_back({"delete", Delete});
  out.push_back({"star_glow", StarGlow});
  out.push_back({"star_lit", [] { return StarPicture(15, StarFill::kFull); }});
  out.push_back({"star_half", [] { return StarPicture(15, StarFill::kHalf); }});
  out.push_back({"star_grey", [] { return StarPicture(15, StarFill::kEmpty); }});
  out.push_back({"star_small", [] { return StarPicture(11, StarFill::kFull); }});
  out.push_back({"star21_full", [] { return StarPicture(21, StarFill::kFull); }});
  out.push_back({"star21_empty", [] { return StarPicture(21, StarFill::kEmpty); }});
  out.push_back({"star21_half", [] { return StarPicture(21, StarFill::kHalf); }});
  out.push_back(
      {"rating_bar_back", [] { return RatingBar(Rgb(226, 230, 236), Rgb(236, 239, 243)); }});
  out.push_back({"rating_bar_fill", [] { return RatingBar(Lighten(kGold, 0.12), kGold); }});
  out.push_back({"report", [] { return VoteMark(Mark::kReport, false); }});
  out.push_back({"report_done", [] { return VoteMark(Mark::kReport, true); }});
  out.push_back({"top", [] { return VoteMark(Mark::kTop, false); }});
  out.push_back({"top_done", [] { return VoteMark(Mark::kTop, true); }});
  out.push_back({"step", [] { return VoteMark(Mark::kStep, false); }});
  out.push_back({"step_done", [] { return VoteMark(Mark::kStep, true); }});
}

}  // namespace orvo::painter
