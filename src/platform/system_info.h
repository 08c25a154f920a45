#pragma once
// Facts about the system the program runs on.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvo::os {

struct WindowsVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
};

// VS_FIXEDFILEINFO as thirteen 32-bit fields in declaration order: signature, structure
// version, file version MS and LS, product version MS and LS, flags mask, flags, OS, type,
// subtype, date MS and LS.
using FixedFileInfo = std::array<uint32_t, 13>;

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual WindowsVersion Version() = 0;
  // The process is a 32-bit process running under WOW64.
  virtual bool IsWow64Process() = 0;
  virtual bool ProcessIs64Bit() = 0;
  virtual uint16_t NativeArchitecture() = 0;
  // GetUserDefaultUILanguage.
  virtual uint16_t UserUiLanguage() = 0;
  // SPI_GETKEYBOARDDELAY (0..3) and SPI_GETKEYBOARDSPEED (0..31).
  virtual uint32_t KeyboardDelay() = 0;
  virtual uint32_t KeyboardSpeed() = 0;
  // The fixed version record of a file's version resource, if it has one.
  virtual std::optional<FixedFileInfo> FileVersion(std::string_view path) = 0;
  // The user's colour for grey (unavailable) text, 0x00BBGGRR (GetSysColor(COLOR_GRAYTEXT));
  // none where the system has no colour scheme of its own (the caller keeps a constant).
  virtual std::optional<uint32_t> GrayTextColor() = 0;
  // A calendar date (month 1..12, day 1..31) written in the user's short date format
  // (GetDateFormatEx with DATE_SHORTDATE).
  virtual std::string ShortDate(int year, int month, int day) = 0;
};

}  // namespace orvo::os
