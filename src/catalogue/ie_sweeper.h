#pragma once
// Internet Explorer's add-ons live in the registry: browser helper objects, toolbars,
// toolbar buttons (with their menu entries) and context-menu extensions, each in the
// native view and, on 64-bit Windows, in the WOW6432Node twin. The sweeper collects them
// once and knows how to switch, and delete, each kind.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace orvo {

struct TPlugItem {
  uint8_t Kind = 0;    // pkBHO, pkToolbar, pkExtension, pkMenuExt
  uint8_t Native = 1;  // 1: native location; 0: the WOW6432Node twin
  std::string Clsid;   // empty for menu extensions
  std::string Name;
  std::string Path;  // module, icon or target
  bool Disabled = false;
};

class TIESweeper {
 public:
  TIESweeper();  // runs the four scans
  int Count() const { return static_cast<int>(items_.size()); }
  TPlugItem* Item(int index) const;

  // Switches an entry: when currently disabled its Ext\Settings key goes, else the key is
  // made with Flags = 1. False when the registry refused.
  bool SetItemDisabled(const TPlugItem& item, bool currently_disabled);
  // The deletes: success when the key (or the toolbar's value) is gone, also when it was
  // gone already; a refusal names it.
  os::WriteResult DeleteBHO(const std::string& clsid, bool native);
  os::WriteResult DeleteToolbar(const std::string& clsid, bool native);
  os::WriteResult DeleteExtensionKey(const std::string& clsid, bool native);
  os::WriteResult DeleteMenuExt(const std::string& key_name, bool native);

 private:
  void AddClassEntries(uint8_t kind, bool native, const std::vector<std::string>& clsids);
  void ScanBHOs(bool native);
  void ScanToolbars(bool native);
  void ScanExtensions(bool native);
  void ScanMenuExts(bool native);
  void Add(std::unique_ptr<TPlugItem> item);
  std::vector<std::unique_ptr<TPlugItem>> items_;
};

// Where an entry's switch lives:
// HKCU\Software\Microsoft\Windows\CurrentVersion\Ext\Settings\{clsid}.
std::string ExtSettingsKey(const std::string& clsid);

}  // namespace orvo
