// Painting what lies under a control into its own bitmap. The parent paints only its own
// surface (not its children), then the windowless siblings below the control paint over
// it, each through the canvas with the origin and clip moved as a device context's would
// (relative to the canvas's own origin, which for a control's bitmap is 0, 0).
#include "ui/lum_ui_drawing.h"
#include "ui/win_control.h"

namespace orvo {
namespace {

// The parent's own surface, with the canvas moved to parent coordinates and clipped to
// the parent's client area (and to `clip`, in the control's coordinates).
void PaintParentSurface(TControl& control, Canvas& canvas, const Rect& clip, bool erase) {
  TWinControl* parent = control.Parent();
  const Point base = canvas.origin();
  canvas.Save();
  canvas.IntersectClip(clip);
  canvas.SetOrigin({base.x - control.Left(), base.y - control.Top()});
  canvas.IntersectClip({0, 0, parent->ClientWidth(), parent->ClientHeight()});
  if (erase) parent->EraseBackground(canvas);
  parent->Paint(canvas);
  canvas.Restore();
}

// The windowless siblings below the control that are visible and overlap `area` (parent
// coordinates), each clipped to itself and to `clip` (control coordinates).
void PaintSiblingsBelow(TControl& control, Canvas& canvas, const Rect& area, const Rect& clip) {
  const Point base = canvas.origin();
  for (TControl* sibling : control.Parent()->Controls()) {
    if (sibling == &control) break;
    if (sibling->IsWindowed() || !sibling->Visible()) continue;
    if (!Intersects(sibling->BoundsRect(), area)) continue;
    canvas.Save();
    canvas.IntersectClip(clip);
    canvas.SetOrigin(
        {base.x + sibling->Left() - control.Left(), base.y + sibling->Top() - control.Top()});
    canvas.IntersectClip({0, 0, sibling->Width(), sibling->Height()});
    sibling->Paint(canvas);
    canvas.Restore();
  }
}

}  // namespace

void CopyParentBackground(TControl& control, Canvas& canvas) {
  if (!control.Parent() || control.Width() <= 0 || control.Height() <= 0) return;
  const Rect all = control.ClientRect();
  PaintParentSurface(control, canvas, all, false);
  if (!control.Name.empty()) PaintSiblingsBelow(control, canvas, control.BoundsRect(), all);
}

void CopyParentBackgroundRect(TControl& control, Canvas& canvas, const Rect& rect) {
  if (!control.Parent() || rect.empty()) return;
  PaintParentSurface(control, canvas, rect, false);
  PaintSiblingsBelow(control, canvas, rect.Offset(control.Left(), control.Top()), rect);
}

void CopyParentErase(TControl& control, Canvas& canvas) {
  TWinControl* parent = control.Parent();
  if (!parent || control.Width() <= 0 || control.Height() <= 0) return;
  parent->SetPaintingCopy(true);
  PaintParentSurface(control, canvas, control.ClientRect(), true);
  parent->SetPaintingCopy(false);
}

}  // namespace orvo
