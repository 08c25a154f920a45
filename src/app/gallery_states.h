#pragma once
// Named states of the gallery on the headless screen, for `ui-gallery --png` and the golden
// pictures: "idle" (as it opens), "hover" (a tab and a link lit on the way, the pointer
// resting on the fading button mid-fade), "hint" (the hint of a truncated label), "menu"
// (three levels open), "scrolled" (the
// long list scrolled by the wheel), "question" and "notice" (the two message boxes over the
// window), "maximized"; and in the lists window: "lists" (a row picked, the 1,000-row
// list a wheel notch down, the pointer on a row's switch with its hint), "editing" (the
// three edits and the multi-line box typed into, part of the nickname selected),
// "dropdown" (the sort choice dropped up from the bottom of the screen) and "columns" (the
// hint of a cell cut by its column).
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
