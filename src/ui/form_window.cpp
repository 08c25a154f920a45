// A form's window: created on first use from the installed window system, showing the
// form's picture, and turning what the window reports into the form's input routing,
// moves, activation and closing. Modal loops disable the program's other forms.
#include <algorithm>

#include "ui/application.h"
#include "ui/form.h"

namespace orvo {
namespace {

TMouseButton ToButton(os::MouseButton button) {
  switch (button) {
    case os::MouseButton::kLeft: return mbLeft;
    case os::MouseButton::kRight: return mbRight;
    case os::MouseButton::kMiddle: return mbMiddle;
  }
  return mbLeft;
}

os::CursorShape ToShape(TCursor cursor) {
  switch (cursor) {
    case crSizeWE: return os::CursorShape::kSizeWE;
    case crSizeNS: return os::CursorShape::kSizeNS;
    case crSizeNWSE: return os::CursorShape::kSizeNWSE;
    case crSizeNESW: return os::CursorShape::kSizeNESW;
    case crHandPoint: return os::CursorShape::kHand;
    case crIBeam: return os::CursorShape::kIBeam;
    case crHourGlass: return os::CursorShape::kWait;
    default: return os::CursorShape::kArrow;
  }
}

}  // namespace

// What the window reports, handed to the form. A handler may free the form, so nothing
// touches it after a call that can run program code without checking it still lives.
class TForm::Bridge : public os::WindowClient {
 public:
  explicit Bridge(TForm& form) : form_(form), alive_(std::make_shared<bool>(true)) {}
  ~Bridge() override { *alive_ = false; }

  void OnPaint(const Rect& part) override {
    const Rect painted = form_.PaintInvalid();
    form_.PresentPart(Union(painted, part));
  }
  void OnMouseMove(int x, int y, os::InputFlags flags) override {
    const auto alive = alive_;
    form_.MouseMoveAt(x, y, flags);
    if (*alive) Application().HintMouseMove(form_.HoverControl(), form_.ClientToScreen({x, y}));
  }
  void OnMouseDown(os::MouseButton button, int x, int y, os::InputFlags flags) override {
    Application().CancelHint();
    form_.MouseDownAt(ToButton(button), x, y, flags);
  }
  void OnMouseUp(os::MouseButton button, int x, int y, os::InputFlags flags) override {
    form_.MouseUpAt(ToButton(button), x, y, flags);
  }
  void OnMouseWheel(int delta, int x, int y, os::InputFlags flags) override {
    form_.MouseWheelAt(delta, x, y, flags);
  }
  void OnMouseLeave() override {
    Application().CancelHint();
    form_.MouseExit();
  }
  void OnCaptureLost() override {
    form_.capture_ = nullptr;
    form_.pressed_ = nullptr;
  }
  void OnKeyDown(uint16_t key, os::InputFlags flags) override {
    Application().CancelHint();
    form_.KeyDownIn(key, flags);
  }
  void OnKeyUp(uint16_t key, os::InputFlags flags) override { form_.KeyUpIn(key, flags); }
  void OnChar(char16_t ch) override { form_.KeyPressIn(ch); }
  void OnActivate(bool active) override { form_.WindowActivated(active); }
  void OnMoved(const Rect& bounds) override { form_.WindowMoved(bounds); }
  bool OnSysCommand(os::SysCommand command) override { return form_.WindowSysCommand(command); }
  void OnCloseRequest() override { form_.Close(); }

 private:
  TForm& form_;
  std::shared_ptr<bool> alive_;
};

TForm::TForm() {
  Color = clBtnFace;
  ControlStyle &= ~csCaptureMouse;
  Application().AddForm(*this);
}

TForm::~TForm() {
  *alive_ = false;
  window_.reset();  // no window reports from here on
  Application().RemoveForm(*this);
}

void TForm::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (window_) window_->SetTitle(caption);
}

void TForm::SetTopMost(bool top_most) {
  top_most_ = top_most;
  if (window_) window_->SetTopMost(top_most);
}

os::Window* TForm::HandleNeeded() {
  if (window_) return window_.get();
  os::WindowSystem* system = os::CurrentWindowSystem();
  if (!system) return nullptr;
  Application().AttachWindowSystem();
  os::WindowOptions options;
  options.bounds = {Left(), Top(), Left() + Width(), Top() + Height()};
  options.title = caption_;
  options.owner = PopupParent ? PopupParent->HandleNeeded() : nullptr;
  options.layered = Layered;
  options.topmost = top_most_;
  options.tool = ToolWindow;
  options.activate_on_click = ActivateOnClick;
  if (!bridge_) bridge_ = std::make_unique<Bridge>(*this);
  window_ = system->NewWindow(options, bridge_.get());
  return window_.get();
}

void TForm::BoundsChanged() {
  if (window_ && !syncing_bounds_) {
    window_->SetBounds({Left(), Top(), Left() + Width(), Top() + Height()});
  }
}

void TForm::WindowMoved(const Rect& bounds) {
  if (Minimized()) return;
  syncing_bounds_ = true;
  SetBounds(bounds.left, bounds.top, bounds.width(), bounds.height());
  syncing_bounds_ = false;
}

void TForm::PresentPart(const Rect& part) {
  if (!window_ || !shown_ || Layered || part.empty() || screen_.empty()) return;
  os::PixelSource source{screen_.pixels(), screen_.width(), screen_.height(),
                         screen_.native_handle()};
  window_->Present(source, Intersect(part, ClientRect()));
}

void TForm::Show() {
  shown_ = true;
  if (os::Window* window = HandleNeeded()) {
    if (!Layered) InvalidateRect(ClientRect());
    window->Show(os::ShowMode::kShow);
  }
  if (OnShow) OnShow(*this);
}

void TForm::ShowNoActivate() {
  shown_ = true;
  if (os::Window* window = HandleNeeded()) {
    if (!Layered) InvalidateRect(ClientRect());
    window->Show(os::ShowMode::kShowNoActivate);
  }
  if (OnShow) OnShow(*this);
}

void TForm::Hide() {
  if (!shown_) return;
  shown_ = false;
  capture_ = nullptr;
  pressed_ = nullptr;
  if (window_) window_->Show(os::ShowMode::kHide);
  if (OnHide) OnHide(*this);
}

void TForm::Minimize() {
  if (window_ && shown_) window_->Show(os::ShowMode::kMinimize);
}

void TForm::Restore() {
  if (window_ && shown_) window_->Show(os::ShowMode::kRestore);
}

bool TForm::Minimized() const { return window_ && window_->Minimized(); }

void TForm::BringToFront() {
  if (window_ && shown_) window_->Activate();
}

TModalResult TForm::ShowModal() {
  os::WindowSystem* system = os::CurrentWindowSystem();
  if (!system || modal_) return mrCancel;
  ModalResult = mrNone;
  TForm* previous = nullptr;
  std::vector<TForm*> disabled;
  for (TForm* f : Application().Forms()) {
    if (f == this || !f->window_) continue;
    if (f->active_form_) previous = f;
    if (f->window_->IsEnabled()) {
      f->window_->SetEnabled(false);
      disabled.push_back(f);
    }
  }
  modal_ = true;
  Application().EnterModal();
  const auto alive = alive_;
  Show();
  const os::ModalEnd end =
      system->RunModal([&] { return !*alive || ModalResult != mrNone || !shown_; });
  Application().LeaveModal();
  // The other forms come back before this one hides, so the activation can return to them.
  for (TForm* f : Application().Forms()) {
    if (std::find(disabled.begin(), disabled.end(), f) != disabled.end() && f->window_) {
      f->window_->SetEnabled(true);
    }
  }
  if (!*alive) return mrCancel;
  modal_ = false;
  if (end != os::ModalEnd::kDone || ModalResult == mrNone) {
    if (ModalResult == mrNone) ModalResult = mrCancel;
  }
  Hide();
  const auto& forms = Application().Forms();
  if (previous && std::find(forms.begin(), forms.end(), previous) != forms.end() &&
      previous->shown_) {
    previous->BringToFront();
  }
  return ModalResult;
}

void TForm::Close() {
  const auto alive = alive_;
  if (OnCloseQuery) {
    bool can_close = true;
    OnCloseQuery(*this, can_close);
    if (!*alive || !can_close) return;
  }
  TCloseAction action = caHide;
  if (OnClose) OnClose(*this, action);
  if (!*alive || action == caNone) return;
  if (modal_) {
    if (ModalResult == mrNone) ModalResult = mrCancel;
    return;  // the modal loop hides the form
  }
  if (action == caMinimize) {
    Minimize();
    return;
  }
  Hide();
  if (Application().MainForm == this) Application().Terminate();
}

void TForm::UpdateLayered(const Bitmap32& picture, uint8_t opacity) {
  if (picture.empty()) return;
  if (picture.width() != Width() || picture.height() != Height()) {
    SetBounds(Left(), Top(), picture.width(), picture.height());
  }
  if (os::Window* window = HandleNeeded()) {
    window->PresentLayered(
        {picture.pixels(), picture.width(), picture.height(), picture.native_handle()}, opacity);
  }
}

void TForm::SetRegion(const os::WindowRegion& region) {
  if (os::Window* window = HandleNeeded()) window->SetRegion(region);
}

void TForm::BeginSystemMove() {
  capture_ = nullptr;
  pressed_ = nullptr;
  if (!window_) return;
  window_->ReleaseCapture();
  window_->BeginSystemMove();
}

void TForm::AddWindowHook(TFormWindowHook* hook) {
  if (hook && std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) hooks_.push_back(hook);
}

void TForm::RemoveWindowHook(TFormWindowHook* hook) {
  hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hook), hooks_.end());
}

void TForm::WindowActivated(bool active) {
  active_form_ = active;
  const auto alive = alive_;
  const std::vector<TFormWindowHook*> hooks = hooks_;
  for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
    (*it)->Activated(active);
    if (!*alive) return;
  }
  if (active && OnActivate) OnActivate(*this);
  if (!active && OnDeactivate) OnDeactivate(*this);
}

bool TForm::WindowSysCommand(os::SysCommand command) {
  const std::vector<TFormWindowHook*> hooks = hooks_;
  for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
    if ((*it)->SysCommand(command)) return true;
  }
  return false;
}

void TForm::SyncWindowCapture() {
  if (!window_) return;
  const bool want = capture_ != nullptr;
  if (want && !window_->HasCapture()) window_->SetCapture();
  if (!want && window_->HasCapture()) window_->ReleaseCapture();
}

void TForm::SyncCursor() {
  if (!window_) return;
  TCursor cursor = crDefault;
  for (TControl* c = capture_ ? capture_ : hover_; c; c = c->Parent()) {
    if (c->Cursor != crDefault) {
      cursor = c->Cursor;
      break;
    }
  }
  const os::CursorShape shape = ToShape(cursor);
  if (shape == cursor_shape_) return;
  cursor_shape_ = shape;
  window_->SetCursor(shape);
}

}  // namespace orvo
