#pragma once
// The product's popup-menu look: its skin pictures, sizes and colours, shared by the main
// window's menu and the toolkit's gallery.
namespace orvo {

class TLumPopupMenu;

void SetMainMenuLook(TLumPopupMenu& menu);

}  // namespace orvo
