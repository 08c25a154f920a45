#pragma once
// Named states of the gallery on the headless screen, for `ui-gallery --png` and the golden
// pictures: "idle" (as it opens), "hover" (a tab and a link lit on the way, the pointer
// resting on the fading button mid-fade), "hint" (the hint of a truncated label), "menu"
// (three levels open), "scrolled" (the
// long list scrolled by the wheel), "question" and "notice" (the two message boxes over the
// window), "maximized".
#include <functional>
#include <string>
#include <vector>

#include "app/gallery_window.h"
#include "platform/headless/headless_window_system.h"

namespace orvo::gallery {

std::vector<std::string> StateNames();

// Puts the shown gallery into `state` and calls `capture` while it is there (for the
// message boxes, from inside their modal loop, which is then left with Esc). False for an
// unknown state.
bool ShowState(TGalleryWindow& gallery, os::headless::HeadlessWindowSystem& screen,
               const std::string& state, const std::function<void()>& capture);

}  // namespace orvo::gallery
