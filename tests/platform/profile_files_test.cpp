// Settings files through the profile seam. Under Wine every case runs against the
// system's own functions and the portable reader and writer alike, so the portable one
// is held to what Windows does.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/ini_text.h"
#include "platform/platform.h"
#include "platform/profile_files.h"
#include "support/test_machine.h"

namespace orvo {
namespace {

struct Backend {
  const char* name;
  std::unique_ptr<os::ProfileFiles> profiles;
  bool portable;
};

class ProfileFilesTest : public ::testing::Test {
 protected:
  ProfileFilesTest() {
    os::FileSystem& files = machine_.platform().files();
    backends_.push_back({machine_.sandbox() ? "portable" : "system", os::OpenProfileFiles(files),
                         machine_.sandbox()});
    if (!machine_.sandbox())
      backends_.push_back({"portable", os::MakePortableProfileFiles(files), true});
  }

  std::string File(const Backend& b, const char* name) {
    return machine_.folder() + "\\" + b.name + "-" + name;
  }
  std::string Bytes(const std::string& path) {
    return machine_.platform().files().ReadFile(path).value_or("");
  }

  test::TestMachine machine_;
  std::vector<Backend> backends_;
};

TEST_F(ProfileFilesTest, ReadsEntriesTheWayWindowsDoes) {
  const std::string text =
      "; comment=not an entry\r\n"
      "[General]\r\n"
      "Language = German \r\n"
      "CheckNews=1\r\n"
      "quoted=\"  x  \"\r\n"
      "dup=first\r\n"
      "dup=second\r\n"
      "empty=\r\n"
      "[Other]\r\n"
      "Language=Other\r\n";
  struct Case {
    const char* section;
    const char* key;
    const char* fallback;
    const char* expected;
  } cases[] = {
      {"General", "Language", "", "German"},    {"GENERAL", "language", "", "German"},
      {"General", "quoted", "", "  x  "},       {"General", "dup", "", "first"},
      {"General", "empty", "dflt", ""},         {"General", "missing", "dflt", "dflt"},
      {"Missing", "Language", "dflt", "dflt"},  {"other", "LANGUAGE", "", "Other"},
      {"General", "; comment", "dflt", "dflt"},
  };
  for (const IniEncoding encoding : {IniEncoding::kUtf16Le, IniEncoding::kAnsi}) {
    for (auto& b : backends_) {
      const std::string file = File(b, encoding == IniEncoding::kAnsi ? "ansi.ini" : "utf16.ini");
      machine_.WriteFile(file, EncodeIniText(text, encoding));
      for (const auto& c : cases) {
        EXPECT_EQ(b.profiles->GetString(file, c.section, c.key, c.fallback), c.expected)
            << b.name << " " << c.section << "/" << c.key;
      }
      EXPECT_EQ(b.profiles->GetString(File(b, "none.ini"), "General", "Language", "dflt"), "dflt")
          << b.name;
    }
  }
}

TEST_F(ProfileFilesTest, WritesKeepTheFileItsEncodingAndItsOtherLines) {
  for (auto& b : backends_) {
    SCOPED_TRACE(b.name);
    // A new file is UTF-16, so any text survives.
    const std::string fresh = File(b, "fresh.ini");
    ASSERT_TRUE(b.profiles->WriteString(fresh, "General", "Language", "Ελληνικά"));
    ASSERT_TRUE(b.profiles->WriteString(fresh, "General", "MSGID", "5"));
    EXPECT_EQ(Bytes(fresh).substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(b.profiles->GetString(fresh, "general", "LANGUAGE", ""), "Ελληνικά");
    EXPECT_EQ(DecodeIniBytes(Bytes(fresh)).utf8, "[General]\r\nLanguage=Ελληνικά\r\nMSGID=5\r\n");

    // An existing ANSI file stays ANSI, with its comments and other entries.
    const std::string old = File(b, "old.ini");
    machine_.WriteFile(old, "; kept\r\n[General]\r\nLanguage=English\r\nExtra=1\r\n");
    ASSERT_TRUE(b.profiles->WriteString(old, "General", "Language", "German"));
    ASSERT_TRUE(b.profiles->WriteString(old, "Other", "Key", "v"));
    std::string bytes = Bytes(old);
    if (const size_t blank = bytes.find("\r\n\r\n[Other]"); blank != std::string::npos) {
      bytes.erase(blank, 2);  // a blank line before a new section is a matter of taste
    }
    EXPECT_EQ(bytes, "; kept\r\n[General]\r\nLanguage=German\r\nExtra=1\r\n[Other]\r\nKey=v\r\n");
  }
}

TEST_F(ProfileFilesTest, WritesThatCannotHappenReportFailure) {
  for (auto& b : backends_) {
    SCOPED_TRACE(b.name);
    const std::string nowhere = machine_.folder() + "\\missing\\" + b.name + ".ini";
    EXPECT_FALSE(b.profiles->WriteString(nowhere, "General", "Language", "German"));
    EXPECT_EQ(machine_.platform().files().GetAttributes(nowhere), os::kInvalidFileAttributes);
  }
}

TEST_F(ProfileFilesTest, ThePortableWriterNeverOverwritesWhatItCannotRead) {
  for (auto& b : backends_) {
    if (!b.portable) continue;
    const std::string junk = File(b, "junk.ini");
    const std::string bytes(
        "\xFF\xFE"
        "[\0G\0\0\xD8",
        8);  // a truncated UTF-16 file
    machine_.WriteFile(junk, bytes);
    EXPECT_EQ(b.profiles->GetString(junk, "General", "Language", "dflt"), "dflt");
    EXPECT_FALSE(b.profiles->WriteString(junk, "General", "Language", "German"));
    EXPECT_EQ(Bytes(junk), bytes);

    const std::string file = File(b, "lines.ini");
    EXPECT_FALSE(
        b.profiles->WriteString(file, "General", "Language", "x\r\n[General]\r\nCheckNews=0"));
    EXPECT_FALSE(b.profiles->WriteString(file, "General", "Language\n", "x"));
    EXPECT_EQ(b.profiles->GetString(file, "General", "CheckNews", "1"), "1");

    // Every write replaces the file whole: no temporary file is left beside it.
    ASSERT_TRUE(b.profiles->WriteString(file, "General", "Language", "German"));
    std::vector<os::FolderEntry> entries;
    machine_.platform().files().ListFolder(machine_.folder(), &entries);
    for (const auto& e : entries) EXPECT_EQ(e.name.find(".tmp"), std::string::npos) << e.name;
  }
}

}  // namespace
}  // namespace orvo
