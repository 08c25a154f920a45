#pragma once
// The product's looks that several windows share: the popup menu's skin pictures, sizes
// and colours, the caption buttons of a skinned frame, and the single-line edit and the
// combobox as the ratings window (and the gallery that shows them) use them.
namespace orvo {

class TLumCombobox;
class TLumEdit;
class TLumForm;
class TLumPopupMenu;
class TLumScrollBarRes;

void SetMainMenuLook(TLumPopupMenu& menu);
// The close, maximise, restore, minimise and menu buttons' pictures (with the single
// close and minimise ones).
void SetCaptionButtonLook(TLumForm& frame);
// The edit box (three frames: normal, hot, focused), its caret and selection colour.
void SetEditLook(TLumEdit& edit);
// The drop-down box, its button, its layered list window and rows, check boxes and the
// list's scroll bar.
void SetComboboxLook(TLumCombobox& combobox, TLumScrollBarRes& scroll_bar);

}  // namespace orvo
