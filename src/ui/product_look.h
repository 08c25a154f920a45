#pragma once
// The product's looks that several windows share: the popup menu's skin pictures, sizes
// and colours, and the caption buttons of a skinned frame.
namespace orvo {

class TLumForm;
class TLumPopupMenu;

void SetMainMenuLook(TLumPopupMenu& menu);
// The close, maximise, restore, minimise and menu buttons' pictures (with the single
// close and minimise ones).
void SetCaptionButtonLook(TLumForm& frame);

}  // namespace orvo
