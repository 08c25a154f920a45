// The settings record: first start, values that are missing or not numbers, what is
// written and when.
#include <gtest/gtest.h>

#include "catalogue/shell_helpers.h"
#include "platform/ini_text.h"
#include "platform/platform.h"
#include "shell/app_config.h"
#include "shell/language.h"
#include "shell/language_list.h"
#include "shell/shell_fixture.h"

namespace orvo::test {
namespace {

// Natively the image's user reads German; under Wine the prefix's own language counts.
class AppConfigTest : public ShellTest {
 protected:
  AppConfigTest() : ShellTest("UILanguage=0407\r\n") { InstallShippedLanguages(); }

  void WriteSettings(const std::string& text) {
    machine().WriteFile(ConfigFile(), EncodeIniText(text, IniEncoding::kUtf16Le));
  }
  std::string Detected() { return DetectLanguage(); }
};

TEST_F(AppConfigTest, SettingsLiveInTheApplicationDataFolder) {
  EXPECT_EQ(ConfigFolder(), AddBackslash(os::Current().shell().SpecialFolder(os::kCsidlAppData)) +
                                "Orvo Plugin Manager");
  EXPECT_EQ(ConfigFile(), ConfigFolder() + "\\OrvoPM.ini");
  if (machine().sandbox()) {
    EXPECT_EQ(Detected(), "German");
  }
}

TEST_F(AppConfigTest, FirstStartUsesDefaultsAndWritesNothing) {
  AppConfig = TAppConfig{"Stale", false, false, 99};
  LoadConfig();
  EXPECT_TRUE(AppConfig.CheckNews);
  EXPECT_TRUE(AppConfig.AutoUpdate);
  EXPECT_EQ(AppConfig.MSGID, 0);
  EXPECT_EQ(AppConfig.Language, Detected());
  ChooseLanguageFile(AppConfig.Language);
  GetLangString("Messages", "ReportS", "");
  EXPECT_FALSE(SettingsFolderExists());
}

TEST_F(AppConfigTest, AnEmptyLanguageIsDetectedAgainAndWrittenAtTheEnd) {
  WriteSettings("[General]\r\nLanguage=\r\nCheckNews=0\r\nMSGID=12\r\n");
  LoadConfig();
  EXPECT_EQ(AppConfig.Language, Detected());
  EXPECT_FALSE(AppConfig.CheckNews);
  EXPECT_TRUE(AppConfig.AutoUpdate);  // absent
  EXPECT_EQ(AppConfig.MSGID, 12);
  EXPECT_EQ(SettingsText().find("Language=" + Detected()), std::string::npos) << "not yet";
  ASSERT_TRUE(SaveConfig());  // the end of the run
  const std::string text = SettingsText();
  EXPECT_NE(text.find("Language=" + Detected() + "\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("CheckNews=0\r\nMSGID=12\r\n"), std::string::npos)
      << "order and lines kept: " << text;
  EXPECT_NE(text.find("AutoUpdate=1"), std::string::npos) << text;
}

TEST_F(AppConfigTest, ValuesReadAsTheKeysDefaultsWhenTheyAreNotNumbers) {
  struct Case {
    const char* file;
    bool check_news;
    bool auto_update;
    int32_t msgid;
  } cases[] = {
      {"CheckNews=0\r\nAutoUpdate=0", false, false, 0},
      {"CheckNews=1\r\nAutoUpdate=1\r\nMSGID=1234", true, true, 1234},
      {"CheckNews=yes\r\nAutoUpdate=off\r\nMSGID=12abc", true, true, 0},
      {"CheckNews=2\r\nAutoUpdate=-1\r\nMSGID=-7", true, true, -7},
      {"CheckNews= 0 \r\nAutoUpdate=0x0\r\nMSGID=4294967296", false, true, 0},
      {"checknews=0\r\nAUTOUPDATE=0\r\nmsgid=2147483647", false, false, 2147483647},
      {"CheckNews=\r\nAutoUpdate=\r\nMSGID=", true, true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    WriteSettings(std::string("[General]\r\nLanguage=German\r\n") + c.file + "\r\n");
    LoadConfig();
    EXPECT_EQ(AppConfig.Language, "German");
    EXPECT_EQ(AppConfig.CheckNews, c.check_news);
    EXPECT_EQ(AppConfig.AutoUpdate, c.auto_update);
    EXPECT_EQ(AppConfig.MSGID, c.msgid);
  }
}

TEST_F(AppConfigTest, AFolderWithoutTheFileReadsAsAllKeysAbsent) {
  os::Current().files().CreateFolders(ConfigFolder());
  AppConfig = TAppConfig{"Stale", false, false, 99};
  LoadConfig();
  EXPECT_EQ(AppConfig.Language, Detected());
  EXPECT_TRUE(AppConfig.CheckNews && AppConfig.AutoUpdate);
  EXPECT_EQ(AppConfig.MSGID, 0);
}

TEST_F(AppConfigTest, SavedSettingsReadBackTheSameEvenOutsideTheAnsiCodePage) {
  for (const TAppConfig& saved :
       {TAppConfig{"German", false, true, -42}, TAppConfig{"Ελληνικά", true, false, 2147483647}}) {
    AppConfig = saved;
    ASSERT_TRUE(SaveConfig());
    AppConfig = TAppConfig{};
    LoadConfig();
    EXPECT_EQ(AppConfig.Language, saved.Language);
    EXPECT_EQ(AppConfig.CheckNews, saved.CheckNews);
    EXPECT_EQ(AppConfig.AutoUpdate, saved.AutoUpdate);
    EXPECT_EQ(AppConfig.MSGID, saved.MSGID);
  }
  const auto bytes = os::Current().files().ReadFile(ConfigFile());
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->substr(0, 2), "\xFF\xFE") << "a new settings file is UTF-16";
}

TEST_F(AppConfigTest, SavingWhereNoFolderCanBeMadeFailsQuietly) {
  // A file stands where the settings folder belongs.
  machine().WriteFile(ConfigFolder(), "not a folder");
  AppConfig = TAppConfig{"German", true, true, 1};
  EXPECT_FALSE(SaveConfig());
  EXPECT_EQ(os::Current().files().ReadFile(ConfigFolder()).value_or(""), "not a folder");
  machine().platform().files().RemoveFile(ConfigFolder());
}

}  // namespace
}  // namespace orvo::test
