#pragma once
// What an application hangs on a list row or a combobox item. The row owns it: it goes
// when the row goes (deleted, cleared, or with its list), so no window has to remember
// to free its rows' data before the list is destroyed, and reading it back is checked
// by type instead of cast from an untyped pointer.
#include <memory>

namespace orvo {

class TItemData {
 public:
  virtual ~TItemData() = default;

 protected:
  TItemData() = default;
  TItemData(const TItemData&) = default;
  TItemData& operator=(const TItemData&) = default;
};

// The data as the type the application hung on, or null when there is none or it is
// another type.
template <typename T>
T* ItemDataAs(const std::unique_ptr<TItemData>& data) {
  return dynamic_cast<T*>(data.get());
}

}  // namespace orvo
