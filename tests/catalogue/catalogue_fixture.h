#pragma once
// A copy of the demo image as the machine of one test, with helpers to reach the
// browsers' files.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "catalogue/browser_app.h"
#include "catalogue/json_document.h"
#include "platform/platform.h"
#include "support/test_machine.h"

namespace orvo::test {

inline MachineOptions DemoOptions(const std::string& extra_ini = "") {
  MachineOptions o;
  o.image = DemoImage();
  o.extra_ini = extra_ini;
  return o;
}

inline std::string ReadText(const std::string& windows_path) {
  return os::Current().files().ReadFile(windows_path).value_or("");
}

inline Json ReadJson(const std::string& windows_path) {
  auto doc = ParseJsonDocument(ReadText(windows_path));
  return doc ? doc->value : Json();
}

inline TBrowserExtensionInfo* FindById(TBrowserAppBase& app, const std::string& id) {
  for (int i = 0; i < app.GetCount(); ++i) {
    if (app.GetItem(i)->Id == id) return app.GetItem(i);
  }
  return nullptr;
}

}  // namespace orvo::test
