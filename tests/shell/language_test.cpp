// Text lookup with its fallbacks, the built-in English text, the shipped translations,
// the font header entries, and language files that must not be believed.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/ini_text.h"
#include "platform/program_files.h"
#include "shell/builtin_table.h"
#include "shell/language.h"
#include "shell/language_fonts.h"
#include "shell/language_list.h"
#include "shell/language_menu.h"
#include "shell/language_text.h"
#include "shell/shell_fixture.h"

namespace orvo::test {
namespace {

class LanguageTest : public ShellTest {};

TEST_F(LanguageTest, BuiltinTextIsExactlyTheEnglishTableWithCommentLines) {
  const auto bytes = os::FindRawResource("MEMLANG");
  ASSERT_TRUE(bytes);
  EXPECT_EQ(*bytes, ShippedLanguage("English"))
      << "the resource and the shipped English.ini differ";
  ASSERT_EQ(bytes->substr(0, 4), std::string_view("\xFF\xFE;\0", 4))
      << "UTF-16LE, opening with a comment";
  const IniText text = DecodeIniBytes(*bytes);
  ASSERT_TRUE(text.valid);
  size_t line_ends = 0, crlf = 0;
  for (size_t i = 0; i < text.utf8.size(); ++i) {
    if (text.utf8[i] != '\n') continue;
    ++line_ends;
    crlf += i > 0 && text.utf8[i - 1] == '\r';
  }
  EXPECT_EQ(line_ends, crlf) << "every line ends with CR LF";
  EXPECT_NE(text.utf8.find("; Version 1.11.11\r\n"), std::string::npos);

  const auto table = LanguageText::FromBytes(*bytes);
  ASSERT_TRUE(table);
  EXPECT_EQ(table->size(), std::size(kBuiltinEnglish));
  // No language file at all: every text comes from the built-in file.
  for (const auto& e : kBuiltinEnglish) {
    EXPECT_EQ(GetLangString(e.section, e.key, "?"), e.text) << e.section << " " << e.key;
  }
  EXPECT_EQ(GetLangString("Translation", "LangCode", ""),
            "0C09|2809|1009|2409|4009|1809|2009|4409|1409|3409|4809|1c09|2C09|0809|0409|3009");
}

TEST_F(LanguageTest, GermanIsCompleteAndKeepsThePlaceholders) {
  const auto german = LanguageText::FromBytes(ShippedLanguage("German"));
  ASSERT_TRUE(german);
  EXPECT_EQ(german->size(), std::size(kBuiltinEnglish));
  for (const auto& e : kBuiltinEnglish) {
    const std::string* text = german->Find(e.section, e.key);
    ASSERT_TRUE(text && !text->empty()) << e.key;
    for (const char* placeholder : {"%d", "%s"}) {
      EXPECT_EQ(std::string_view(e.text).find(placeholder) != std::string_view::npos,
                text->find(placeholder) != std::string::npos)
          << e.key;
    }
  }
  EXPECT_EQ(german->Get("Lang", "NativeLanguage", ""), "Deutsch");
  EXPECT_EQ(german->Get("Translation", "TfrmXOBMain.btnDel.hint", ""), "Löschen");
}

TEST_F(LanguageTest, LookupFallsBackFromFileToBuiltinToCallerDefault) {
  WriteLanguage("Test", Utf16File("[Translation]\r\n"
                                  "TfrmXOBMain.lbl3.Caption=\r\n"
                                  "TfrmXOBMain.btnDel.hint=Wegwerfen\r\n"
                                  "TfrmXOBMain.OnlyHere=Nur hier\r\n"
                                  "[Messages]\r\n"
                                  "DeleteConf=Wirklich?\r\n"));
  ChooseLanguageFile("Test");
  struct Case {
    const char* section;
    const char* key;
    const char* fallback;
    const char* expected;
  } cases[] = {
      {"Translation", "TfrmXOBMain.btnDel.hint", "", "Wegwerfen"},
      {"tRANSLATION", "tfrmxobmain.BTNDEL.Hint", "", "Wegwerfen"},           // names without case
      {"Translation", "TfrmXOBMain.lbl3.Caption", "", "Check for Updates"},  // empty value
      {"Translation", "TfrmXOBMain.lbl1.Caption", "%d", "%d plug-ins were found"},  // missing
      {"Translation", "TfrmXOBMain.OnlyHere", "", "Nur hier"},
      {"Translation", "TfrmXOBMain.default", "(Default)", "(Default)"},  // in neither file
      {"Messages", "DeleteConf", "DeleteConf", "Wirklich?"},
      {"Messages", "NoSuchMessage", "NoSuchMessage", "NoSuchMessage"},
      {"", "DeleteConf", "x", ""},
      {"Messages", "", "x", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetLangString(c.section, c.key, c.fallback), c.expected) << c.section << " " << c.key;
  }
}

TEST_F(LanguageTest, MissingFilesFallBackToEnglishThenToTheBuiltinText) {
  InstallShippedLanguages();
  ChooseLanguageFile("Klingon");  // settings naming a language whose file was deleted
  EXPECT_EQ(LanguageFile(), LanguagePath("English"));
  WriteLanguage("English",
                Utf16File("[Translation]\r\nTfrmXOBMain.lbl3.Caption=From the file\r\n"));
  EXPECT_EQ(GetLangString("Translation", "TfrmXOBMain.lbl3.Caption", ""), "From the file");

  RemoveLanguage("English");
  ResetLanguage();
  ChooseLanguageFile("German");
  RemoveLanguage("German");  // deleted while the program runs
  ReloadLanguage();
  EXPECT_EQ(GetLangString("Messages", "NONERATE", ""),
            "No ratings have been made on this plug-in.");
  // A file that appears later is picked up by the next lookup.
  WriteLanguage("German", ShippedLanguage("German"));
  EXPECT_EQ(GetLangString("Messages", "ReportS", ""), "Erfolgreich gemeldet.");
}

TEST_F(LanguageTest, NamesThatArePathsAreNotLookedUp) {
  InstallShippedLanguages();
  WriteHostFile(program() + "Secret.ini", Utf16File("[Messages]\r\nReportS=leaked\r\n"));
  for (const char* name : {"..\\Secret", "../Secret", "C:Secret", "..", "."}) {
    ChooseLanguageFile(name);
    EXPECT_EQ(LanguageFile(), LanguagePath("English")) << name;
    EXPECT_EQ(GetLangString("Messages", "ReportS", ""), "Successfully reported.") << name;
  }
}

TEST_F(LanguageTest, AnsiAndUtf8FilesAreReadToo) {
  WriteLanguage("Ansi", "[Messages]\r\nReportS=Gemeldet\r\nReportF=Schon gemeldet\r\n");
  WriteLanguage("Utf8",
                "\xEF\xBB\xBF[Messages]\r\nReportS=Gr\xC3\xBC\xC3\x9F"
                "e\r\n");
  ChooseLanguageFile("Ansi");
  EXPECT_EQ(GetLangString("Messages", "ReportF", ""), "Schon gemeldet");
  ChooseLanguageFile("Utf8");
  EXPECT_EQ(GetLangString("Messages", "ReportS", ""), "Grüße");
  if (machine().sandbox()) {  // Windows-1252 stands for the ANSI code page natively
    WriteLanguage("Ansi",
                  "[Messages]\nReportS=Gr\xFC\xDF"
                  "e\n");
    ChooseLanguageFile("Ansi");
    EXPECT_EQ(GetLangString("Messages", "ReportS", ""), "Grüße");
  }
}

TEST_F(LanguageTest, ReloadReadsTheFileAgain) {
  WriteLanguage("Test", Utf16File("[Messages]\r\nReportS=one\r\n"));
  ChooseLanguageFile("Test");
  EXPECT_EQ(GetLangString("Messages", "ReportS", ""), "one");
  WriteLanguage("Test", Utf16File("[Messages]\r\nReportS=two\r\n"));
  EXPECT_EQ(GetLangString("Messages", "ReportS", ""), "one") << "the parsed copy is kept";
  ReloadLanguage();
  EXPECT_EQ(GetLangString("Messages", "ReportS", ""), "two");
}

TEST_F(LanguageTest, FontEntriesComeFromTheFileOnDiskEachTime) {
  struct Case {
    const char* file;  // nullptr: no file
    const char* face;
    int size;
    int charset;
  } cases[] = {
      {nullptr, "Tahoma", 8, kDefaultCharset},
      {"[Translation]\r\nLanguageName=X\r\n", "Tahoma", 8, kAnsiCharset},
      {"[Translation]\r\nDefaultFont=Arial\r\nDefaultFontSize=9\r\nDefaultCharset=RUSSIAN_"
       "CHARSET\r\n",
       "Arial", 9, 204},
      {"[translation]\r\ndefaultfontsize=12pt\r\ndefaultcharset=gb2312_charset\r\n", "Tahoma", 8,
       134},
      {"[Translation]\r\nDefaultFontSize=-11\r\nDefaultCharset=KLINGON_CHARSET\r\n", "Tahoma", -11,
       kDefaultCharset},
      {"[Translation]\r\nDefaultCharset=CHINESEBIG5_CHARSET\r\nDefaultFont=PMingLiU\r\n",
       "PMingLiU", 8, 136},
  };
  ChooseLanguageFile("Test");  // missing: English.ini, missing too
  for (const auto& c : cases) {
    if (c.file) {
      WriteLanguage("English", Utf16File(c.file));
    } else {
      RemoveLanguage("English");
    }
    EXPECT_EQ(GetLangFontName(), c.face) << (c.file ? c.file : "no file");
    EXPECT_EQ(GetLangFontSize(), c.size) << (c.file ? c.file : "no file");
    EXPECT_EQ(GetLangCharset(), c.charset) << (c.file ? c.file : "no file");
  }
}

// Files that are not language files: each must leave the built-in English text in
// charge, without a crash, and quickly.
TEST_F(LanguageTest, BrokenOrEnormousFilesFallBackToTheBuiltinText) {
  const std::string valid = Utf16File(
      "[Messages]\r\nReportS=Bad\r\n[Lang]\r\nNativeLanguage=Bad\r\n"
      "[Translation]\r\nLangCode=0407\r\nDefaultFont=Bad\r\n");
  std::string huge = valid + std::string(kMaxLanguageFileBytes, ' ');
  huge.resize(huge.size() & ~size_t(1));
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"binary", std::string("MZ\x90\0\3\0\0\0\4\0\0\0\xFF\xFF", 14) + valid},
      {"odd-sized UTF-16", valid + "x"},
      {"unpaired surrogate", valid + std::string("\x00\xD8"
                                                 "A\0",
                                                 4)},
      {"big-endian UTF-16", "\xFE\xFF" + valid.substr(2)},
      {"malformed UTF-8", "\xEF\xBB\xBF[Messages]\r\nReportS=\xC3\x28\r\n"},
      {"NUL inside ANSI text", std::string("[Messages]\r\nReportS=B\0d\r\n", 25)},
      {"larger than the cap", huge},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ResetLanguage();
    WriteLanguage("Bad", c.bytes);
    ChooseLanguageFile("Bad");
    EXPECT_EQ(LanguageFile(), LanguagePath("Bad"));
    EXPECT_EQ(GetLangString("Messages", "ReportS", ""), "Successfully reported.");
    EXPECT_EQ(GetLangFontName(), "Tahoma");
    EXPECT_EQ(GetLanguageTitle("Bad"), "Bad");
    EXPECT_EQ(DetectLanguageFor(0x0407), "English");
  }
  // A file of gigabytes is refused by its size alone.
  const std::filesystem::path sparse(reinterpret_cast<const char8_t*>(LanguagePath("Bad").c_str()));
  std::filesystem::resize_file(sparse, uint64_t(4) << 30);
  ReloadLanguage();
  EXPECT_EQ(GetLangString("Messages", "ReportS", ""), "Successfully reported.");
}

TEST_F(LanguageTest, ARefusedFileIsNotReadAgainUntilReload) {
  WriteLanguage("Bad", "\xFE\xFF junk");
  ChooseLanguageFile("Bad");
  EXPECT_EQ(GetLangString("Messages", "ReportS", ""), "Successfully reported.");
  WriteLanguage("Bad", Utf16File("[Messages]\r\nReportS=Mended\r\n"));
  EXPECT_EQ(GetLangString("Messages", "ReportS", ""), "Successfully reported.");
  ReloadLanguage();
  EXPECT_EQ(GetLangString("Messages", "ReportS", ""), "Mended");
}

TEST_F(LanguageTest, TheProgramFolderIsTheExecutablesWithTheShippedLanguages) {
  auto own = os::OpenProgramFolder();
  ASSERT_TRUE(own);
  const std::string exe = OwnExecutablePath();
  EXPECT_EQ(own->Folder(), exe.substr(0, exe.find_last_of("\\/") + 1));
  std::vector<os::FolderEntry> entries;
  ASSERT_TRUE(own->ListFolder(own->Folder() + "Languages", &entries));
  std::set<std::string> names;
  for (const auto& e : entries) names.insert(e.name);
  EXPECT_TRUE(names.count("English.ini") && names.count("German.ini"));
  EXPECT_FALSE(os::FindRawResource("NOSUCHRESOURCE"));
}

}  // namespace
}  // namespace orvo::test
