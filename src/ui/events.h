#pragma once
// Input as the toolkit sees it, in neutral form: the window system back ends translate
// their messages into these at the edge, and tests inject them directly.
#include <cstdint>

namespace orvo {

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TShiftState = uint32_t;
inline constexpr TShiftState ssShift = 0x01;
inline constexpr TShiftState ssAlt = 0x02;
inline constexpr TShiftState ssCtrl = 0x04;
inline constexpr TShiftState ssLeft = 0x08;
inline constexpr TShiftState ssRight = 0x10;
inline constexpr TShiftState ssMiddle = 0x20;
inline constexpr TShiftState ssDouble = 0x40;  // the press is the second of a double click

// Virtual key codes keep their Windows numbers.
inline constexpr uint16_t kVkBack = 0x08;
inline constexpr uint16_t kVkTab = 0x09;
inline constexpr uint16_t kVkReturn = 0x0D;
inline constexpr uint16_t kVkEscape = 0x1B;
inline constexpr uint16_t kVkPrior = 0x21;
inline constexpr uint16_t kVkNext = 0x22;
inline constexpr uint16_t kVkEnd = 0x23;
inline constexpr uint16_t kVkHome = 0x24;
inline constexpr uint16_t kVkLeft = 0x25;
inline constexpr uint16_t kVkUp = 0x26;
inline constexpr uint16_t kVkRight = 0x27;
inline constexpr uint16_t kVkDown = 0x28;
inline constexpr uint16_t kVkDelete = 0x2E;
inline constexpr uint16_t kVkF1 = 0x70;
inline constexpr uint16_t kVkShift = 0x10;
inline constexpr uint16_t kVkControl = 0x11;
inline constexpr uint16_t kVkMenu = 0x12;
inline constexpr uint16_t kVkSpace = 0x20;

// Pointer shapes (TControl::Cursor); crDefault lets the parent decide.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crHandPoint = -21;

// What a form's modal loop ends with, and what closing a form does.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
enum TCloseAction { caNone, caHide, caMinimize };

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

using TAnchors = uint8_t;
inline constexpr TAnchors akLeft = 1;
inline constexpr TAnchors akTop = 2;
inline constexpr TAnchors akRight = 4;
inline constexpr TAnchors akBottom = 8;

// Component state: property setters do not refresh while a control is being loaded, read
// from a stream or designed.
inline constexpr uint32_t csLoading = 1;
inline constexpr uint32_t csReading = 2;
inline constexpr uint32_t csDesigning = 4;

// Control style.
inline constexpr uint32_t csAcceptsControls = 0x01;
inline constexpr uint32_t csCaptureMouse = 0x02;
inline constexpr uint32_t csClickEvents = 0x04;
inline constexpr uint32_t csDoubleClicks = 0x08;

}  // namespace orvo
