#pragma once
// The split record of every skin: two cut points measured from the skin's top-left corner,
// (Left, Top) and (Right, Bottom). A nine-slice cut makes the columns [0, Left),
// [Left, Right), [Right, width) and the rows [0, Top), [Top, Bottom), [Bottom, height):
//
//        0     Left      Right   width
//      0 +------+----------+------+
//        |  TL  |    T     |  TR  |
//    Top +------+----------+------+
//        |  L   |    C     |  R   |
// Bottom +------+----------+------+
//        |  BL  |    B     |  BR  |
// height +------+----------+------+
//
// Three-slice cuts use only Left and Right (columns) or only Top and Bottom (rows).
#include <cstdint>
#include <functional>

namespace orvo {

class TLumUIPadding {
 public:
  TLumUIPadding() = default;
  TLumUIPadding(int32_t left, int32_t top, int32_t right, int32_t bottom)
      : Left(left), Top(top), Right(right), Bottom(bottom) {}
  // Copies carry the four values only; a record's change callback stays its own.
  TLumUIPadding(const TLumUIPadding& other)
      : Left(other.Left), Top(other.Top), Right(other.Right), Bottom(other.Bottom) {}
  TLumUIPadding& operator=(const TLumUIPadding& other) {
    if (this != &other) Assign(other);
    return *this;
  }

  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  // Copies all four values (the change callback stays this record's own).
  void Assign(const TLumUIPadding& other);
  // 0 = Left, 1 = Top, 2 = Right, 3 = Bottom; writes (and reports a change) only when the
  // value differs; any other index is ignored.
  void SetValue(int index, int32_t value);
  int32_t GetValue(int index) const;

  bool ValidNine() const { return Left < Right && Top < Bottom; }
  bool ValidColumns() const { return Left < Right; }
  bool ValidRows() const { return Top < Bottom; }

  friend bool operator==(const TLumUIPadding& a, const TLumUIPadding& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
  }

  // Called after a value changed through SetValue or Assign.
  std::function<void()> OnChange;
};

}  // namespace orvo
