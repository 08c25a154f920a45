#pragma once
// The numbers of the Windows API that cross the seam: result codes, registry roots, access
// rights and views, value types, file attributes, shell folder ids and shell delete flags.
// They keep their Windows values so the Win32 back end passes them straight through and the
// sandbox back end answers with the same numbers a real system would.
#include <cstdint>

namespace orvo::os {

// Win32 error codes returned by the registry and file operations of the seam.
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorPathNotFound = 3;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorNotEnoughMemory = 8;
inline constexpr long kErrorWriteFault = 29;
inline constexpr long kErrorSharingViolation = 32;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorDiskFull = 112;
inline constexpr long kErrorBadPathname = 161;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoMoreItems = 259;
inline constexpr long kErrorKeyDeleted = 1018;
inline constexpr long kErrorNotFound = 1168;
inline constexpr long kErrorFileCorrupt = 1392;

// The five predefined registry roots, with their HKEY values.
enum class RegRoot : uint32_t {
  ClassesRoot = 0x80000000u,
  CurrentUser = 0x80000001u,
  LocalMachine = 0x80000002u,
  Users = 0x80000003u,
  CurrentConfig = 0x80000005u,
};

// Access rights and registry views.
inline constexpr uint32_t kKeyQueryValue = 0x0001;
inline constexpr uint32_t kKeySetValue = 0x0002;
inline constexpr uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr uint32_t kKeyRead = 0x20019;
inline constexpr uint32_t kKeyWrite = 0x20006;
inline constexpr uint32_t kKeyAllAccess = 0xF003F;
inline constexpr uint32_t kKeyWow64_64Key = 0x0100;
inline constexpr uint32_t kKeyWow64_32Key = 0x0200;
inline constexpr uint32_t kKeyWow64Res = 0x0300;

// Registry value types.
inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegDwordBigEndian = 5;
inline constexpr uint32_t kRegLink = 6;
inline constexpr uint32_t kRegMultiSz = 7;
inline constexpr uint32_t kRegResourceList = 8;
inline constexpr uint32_t kRegQword = 11;

// File attributes (GetFileAttributes).
inline constexpr uint32_t kFileAttributeReadOnly = 0x01;
inline constexpr uint32_t kFileAttributeHidden = 0x02;
inline constexpr uint32_t kFileAttributeSystem = 0x04;
inline constexpr uint32_t kFileAttributeDirectory = 0x10;
inline constexpr uint32_t kFileAttributeArchive = 0x20;
inline constexpr uint32_t kFileAttributeNormal = 0x80;
inline constexpr uint32_t kFileAttributeReparsePoint = 0x400;
inline constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;

// Shell special folders (CSIDL values).
inline constexpr int kCsidlDesktop = 0x0000;
inline constexpr int kCsidlPersonal = 0x0005;
inline constexpr int kCsidlStartMenu = 0x000B;
inline constexpr int kCsidlDesktopDirectory = 0x0010;
inline constexpr int kCsidlAppData = 0x001A;
inline constexpr int kCsidlLocalAppData = 0x001C;
inline constexpr int kCsidlCommonAppData = 0x0023;
inline constexpr int kCsidlWindows = 0x0024;
inline constexpr int kCsidlSystem = 0x0025;
inline constexpr int kCsidlProgramFiles = 0x0026;
inline constexpr int kCsidlProfile = 0x0028;
inline constexpr int kCsidlProgramFilesX86 = 0x002A;

// Shell file operation flags (SHFileOperation FOF_*).
inline constexpr uint32_t kFofSilent = 0x0004;
inline constexpr uint32_t kFofNoConfirmation = 0x0010;
inline constexpr uint32_t kFofAllowUndo = 0x0040;
inline constexpr uint32_t kFofNoConfirmMkdir = 0x0200;
inline constexpr uint32_t kFofNoErrorUi = 0x0400;

// Processor architectures (GetNativeSystemInfo).
inline constexpr uint16_t kProcessorArchitectureIntel = 0;
inline constexpr uint16_t kProcessorArchitectureIa64 = 6;
inline constexpr uint16_t kProcessorArchitectureAmd64 = 9;
inline constexpr uint16_t kProcessorArchitectureArm64 = 12;

}  // namespace orvo::os
