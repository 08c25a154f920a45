// The advert reader against a server on loopback: the request, the replies of every kind,
// the kept description and pictures, groups, the first bad key, and the limits.
#include <gtest/gtest.h>

#include <algorithm>

#include "catalogue/json_document.h"
#include "catalogue/json_writer.h"
#include "notices/ad_reader.h"
#include "notices/notice_fixture.h"
#include "platform/platform.h"
#include "support/png_samples.h"

namespace orvo::test {
namespace {

using namespace std::chrono_literals;

// One item of a description, with what the tests vary.
struct Item {
  std::string title = "Tab Tidy";
  std::string imgsrc;
  int align = 0;
  std::string color = "#1F5FBF";
  std::string link = "http://ads.test/tabtidy";
};

// A JSON string as the advert service writes them: ASCII, "\u" escapes.
std::string Quoted(const std::string& text) {
  std::string out;
  AppendJsonString(out, text);
  return out;
}

std::string ItemJson(const Item& i) {
  std::string out = "{\"align\":" + std::to_string(i.align) +
                    ",\"frame\":0,\"title\":" + Quoted(i.title) +
                    ",\"tips\":\"tip\",\"link\":" + Quoted(i.link) + ",";
  if (i.align != 5) out += "\"imgsrc\":" + Quoted(i.imgsrc) + ",";
  out += "\"fontcolor\":\"" + i.color +
         "\",\"fontcolorover\":\"#E69616\",\"fontname\":\"Tahoma\","
         "\"fontsize\":9,\"interval\":10,\"life\":86400,\"rect\":{\"left\":4,\"top\":34,\"right\":"
         "166,\"bottom\":66}}";
  return out;
}

std::string Reply(int msg, const std::vector<std::pair<int, std::vector<Item>>>& groups,
                  const std::string& adver = "3") {
  std::string out = "{\"msg\":" + std::to_string(msg) +
                    ",\"adcheckurl\":\"http://ads.test/ad/ad1.php\","
                    "\"adid\":\"demo-1\",\"adlang\":\"English\",\"adver\":\"" +
                    adver + "\",\"adrefresh\":86400,\"adgroup\":[";
  for (size_t g = 0; g < groups.size(); ++g) {
    if (g) out += ",";
    out += "{\"kind\":" + std::to_string(groups[g].first) + ",\"page\":1,\"adinfo\":[";
    for (size_t i = 0; i < groups[g].second.size(); ++i) {
      if (i) out += ",";
      out += ItemJson(groups[g].second[i]);
    }
    out += "]}";
  }
  return out + "]}";
}

class AdReaderTest : public NoticeTest {
 protected:
  AdReaderTest() : folder(MakeFolder("UpdateInfo")) {}

  AdReaderSettings Settings() {
    AdReaderSettings s;
    s.version_text = "1.11.11";
    s.folder = folder;
    s.language = "C:\\Program Files\\Orvo Plug-in Manager\\Languages\\English.ini";
    s.default_check_url = server.Url("/ad/ad1.php");
    return s;
  }
  // Runs a reader to its end; the titles of the items it reported, in order.
  std::vector<std::string> Run(const std::string& reply,
                               std::unique_ptr<TOrvoADReader>* keep = nullptr) {
    server.Serve("/ad/ad1.php", reply, 200, "application/json");
    std::vector<std::string> reported;
    auto reader = std::make_unique<TOrvoADReader>(Settings(), [&](const TagOrvoAdInfo& item) {
      reported.push_back(item.title + (item.picture.empty() ? "" : "+picture"));
    });
    reader->Start();
    EXPECT_TRUE(PumpUntil([&] { return !reader->Busy(); }));
    if (keep) *keep = std::move(reader);
    return reported;
  }
  std::string Kept(const std::string& name) {
    return os::Current().files().ReadFile(folder + name).value_or("");
  }
  bool Exists(const std::string& name) {
    return os::Current().files().GetAttributes(folder + name) != os::kInvalidFileAttributes;
  }
  // An item titled `title` whose picture is the server's `path`.
  Item Pictured(const std::string& title, const std::string& path) {
    Item item;
    item.title = title;
    item.imgsrc = server.Url(path);
    return item;
  }
  void ServePicture(const std::string& path, std::chrono::milliseconds delay = {}) {
    if (delay.count()) {
      server.ServeLate(path, delay, MakePng(32, 32));
    } else {
      server.Serve(path, MakePng(32, 32), 200, "image/png");
    }
  }

  const std::string folder;
};

TEST_F(AdReaderTest, WithoutAdTxtTheRequestCarriesVersionZeroToTheDefaultAddress) {
  Run("{\"msg\":2}");
  ASSERT_EQ(server.Count("/ad/ad1.php"), 1u);
  EXPECT_EQ(
      server.Last("/ad/ad1.php").target,
      "/ad/ad1.php?name=xob&ver=1.11.11&lang=C%3A%5CProgram%20Files%5COrvo%20Plug-in%20Manager%5C"
      "Languages%5CEnglish.ini&adver=0");
}

TEST_F(AdReaderTest, AdTxtNamesTheCheckAddressAndTheVersion) {
  server.Serve("/other/check.php", "{\"msg\":2}");
  machine.WriteFile(folder + "Ad.txt",
                    "{\"adcheckurl\":\"" + server.Url("/other/check.php") + "\",\"adver\":7}");
  Run("{\"msg\":2}");
  EXPECT_EQ(server.Count("/ad/ad1.php"), 0u);
  ASSERT_EQ(server.Count("/other/check.php"), 1u);
  EXPECT_NE(server.Last("/other/check.php").target.find("&adver=7"), std::string::npos);

  machine.WriteFile(folder + "Ad.txt", "not json");
  Run("{\"msg\":2}");
  EXPECT_NE(server.Last("/ad/ad1.php").target.find("&adver=0"), std::string::npos);
}

TEST_F(AdReaderTest, NoRequestWithoutAVersionOrALanguage) {
  server.Serve("/ad/ad1.php", "{\"msg\":2}");
  for (int which = 0; which < 2; ++which) {
    AdReaderSettings s = Settings();
    (which == 0 ? s.version_text : s.language).clear();
    TOrvoADReader reader(s, nullptr);
    EXPECT_EQ(reader.RequestUrl(), "");
    reader.Start();
    EXPECT_FALSE(reader.Busy());
  }
  EXPECT_EQ(server.Count("/ad/ad1.php"), 0u);
}

TEST_F(AdReaderTest, ANewDescriptionIsKeptCompactInAscii) {
  Item item;
  item.title = "Caf\xC3\xA9 \xE2\x9C\x93 \xF0\x9F\x98\x80";
  item.align = 5;
  std::unique_ptr<TOrvoADReader> reader;
  const std::string reply = Reply(1, {{0, {item}}});
  EXPECT_EQ(Run(reply, &reader).size(), 1u);
  const std::string kept = Kept("UpdateInfo.txt");
  EXPECT_NE(kept.find("\"title\":\"Caf\\u00e9 \\u2713 \\ud83d\\ude00\""), std::string::npos)
      << kept;
  EXPECT_TRUE(std::all_of(kept.begin(), kept.end(), [](char c) { return c >= 0x20 && c < 0x7F; }));
  EXPECT_EQ(kept.find('\n'), std::string::npos);
  auto parsed = ParseJsonDocument(kept);
  auto original = ParseJsonDocument(reply);
  ASSERT_TRUE(parsed && original);
  EXPECT_EQ(parsed->value, original->value);
  EXPECT_EQ(reader->LastMsg(), 1);
  EXPECT_EQ(reader->AdId(), "demo-1");
  EXPECT_EQ(reader->AdVer(), "3");
  EXPECT_EQ(reader->Refresh(), 86400);
}

TEST_F(AdReaderTest, OtherMessagesAreUsedButNotKept) {
  Item item;
  item.align = 5;
  EXPECT_EQ(Run(Reply(4, {{0, {item}}})), std::vector<std::string>{"Tab Tidy"});
  EXPECT_FALSE(Exists("UpdateInfo.txt"));
  EXPECT_EQ(Run(Reply(3, {{0, {item}}})).size(), 1u);
  EXPECT_TRUE(Exists("UpdateInfo.txt"));
}

TEST_F(AdReaderTest, UnchangedUsesTheKeptDescription) {
  EXPECT_TRUE(Run("{\"msg\":0}").empty()) << "nothing kept yet";
  Item item;
  item.title = "Kept";
  item.align = 5;
  machine.WriteFile(folder + "UpdateInfo.txt", Reply(1, {{0, {item}}}));
  EXPECT_EQ(Run("{\"msg\":0}"), std::vector<std::string>{"Kept"});
}

TEST_F(AdReaderTest, NoAdvertsStopsTheReader) {
  std::unique_ptr<TOrvoADReader> reader;
  EXPECT_TRUE(Run("{\"msg\":2,\"adgroup\":[]}", &reader).empty());
  EXPECT_TRUE(reader->Stopped());
  EXPECT_TRUE(reader->Groups().empty());
  for (const char* reply : {"", "not json", "{\"adgroup\":[]}", "{\"msg\":\"x\"}"}) {
    EXPECT_TRUE(Run(reply, &reader).empty()) << reply;
    EXPECT_FALSE(Exists("UpdateInfo.txt"));
  }
}

TEST_F(AdReaderTest, APictureIsFetchedOnceAndLoadedFromTheFolderAfterwards) {
  ServePicture("/img/banner.png");
  Item item;
  item.imgsrc = server.Url("/img/banner.png");
  EXPECT_EQ(Run(Reply(1, {{1, {item}}})), std::vector<std::string>{"Tab Tidy+picture"});
  EXPECT_EQ(server.Count("/img/banner.png"), 1u);
  EXPECT_EQ(Kept("banner.png"), MakePng(32, 32));
  // The next start: loaded from the folder, never fetched again.
  EXPECT_EQ(Run(Reply(1, {{1, {item}}})), std::vector<std::string>{"Tab Tidy+picture"});
  EXPECT_EQ(server.Count("/img/banner.png"), 1u);
}

TEST_F(AdReaderTest, KindOneShowsItsFirstItemKindZeroEveryItemAsItsPictureComes) {
  ServePicture("/img/a.png", 300ms);
  ServePicture("/img/b.png");
  ServePicture("/img/c.png", 100ms);
  const Item a = Pictured("a", "/img/a.png"), b = Pictured("b", "/img/b.png"),
             c = Pictured("c", "/img/c.png");
  EXPECT_EQ(Run(Reply(1, {{1, {a, b, c}}})), std::vector<std::string>{"a+picture"});
  for (const char* name : {"a.png", "b.png", "c.png"})
    os::Current().files().RemoveFile(folder + name);
  const auto reported = Run(Reply(1, {{0, {a, b, c}}}));
  EXPECT_EQ(reported, (std::vector<std::string>{"b+picture", "c+picture", "a+picture"}))
      << "the item shown is the one whose picture came last";
}

TEST_F(AdReaderTest, ReadingStopsAtTheFirstBadKey) {
  Item good1, good2, bad;
  good1.title = "one";
  good1.align = 5;
  good2.title = "two";
  good2.align = 5;
  bad.title = "bad";
  bad.align = 5;
  bad.color = "#GG0000";
  std::unique_ptr<TOrvoADReader> reader;
  EXPECT_EQ(Run(Reply(1, {{0, {good1, good2, bad, good1}}}), &reader),
            (std::vector<std::string>{"one", "two"}));
  EXPECT_FALSE(Exists("UpdateInfo.txt"));
  ASSERT_EQ(reader->Groups().size(), 1u);
  EXPECT_EQ(reader->Groups()[0]->items.size(), 2u);
  // A missing key does the same; an empty colour is black, not a bad one.
  std::string missing = Reply(1, {{0, {good1, good2}}});
  missing.replace(missing.rfind("\"fontsize\":9,"), 13, "");
  EXPECT_EQ(Run(missing), std::vector<std::string>{"one"});
  Item black = good1;
  black.color = "";
  EXPECT_EQ(Run(Reply(1, {{0, {black}}}), &reader), std::vector<std::string>{"one"});
  EXPECT_EQ(reader->Groups()[0]->items[0]->fontcolor, 0u);
}

TEST_F(AdReaderTest, APictureNameThatIsNoPlainFileNameMeansNoPicture) {
  const std::string parent = machine.folder() + "\\";
  for (const std::string& src :
       {server.Url("/img/..%2F..%2Fx.dll"), std::string("..\\..\\x.dll"), std::string("C:\\x.png"),
        server.Url("/a\\..\\..\\b.png"), server.Url("/img/CON.png"), server.Url("/img/")}) {
    SCOPED_TRACE(src);
    Item item;
    item.imgsrc = src;
    std::unique_ptr<TOrvoADReader> reader;
    EXPECT_EQ(Run(Reply(4, {{0, {item}}}), &reader), std::vector<std::string>{"Tab Tidy"});
    EXPECT_TRUE(reader->Groups()[0]->items[0]->local_path.empty());
  }
  EXPECT_TRUE(FilesIn(folder).empty()) << "nothing written";
  EXPECT_EQ(FilesIn(parent), std::vector<std::string>{"UpdateInfo"}) << "nor beside the folder";
  EXPECT_EQ(server.Requests().size(), 6u) << "only the descriptions were asked for";
}

TEST_F(AdReaderTest, OversizedDescriptionsAndPicturesAreFailedDownloads) {
  Item item;
  item.align = 5;
  item.title = std::string(1u << 20, 'x');
  EXPECT_TRUE(Run(Reply(1, {{0, {item}}})).empty());

  // A picture over 4 MB is refused however valid; a small one with the same padding passes.
  std::string padded = MakePng(32, 32) + std::string(64, '\0');
  server.Serve("/img/small.png", padded, 200, "image/png");
  server.Serve("/img/big.png", MakePng(32, 32) + std::string((4u << 20), '\0'), 200, "image/png");
  server.Serve("/img/huge.png", MakePng(5000, 1), 200, "image/png");
  server.Serve("/img/text.png", "<html>not found</html>", 200, "text/html");
  EXPECT_EQ(
      Run(Reply(1, {{0,
                     {Pictured("small", "/img/small.png"), Pictured("big", "/img/big.png"),
                      Pictured("huge", "/img/huge.png"), Pictured("text", "/img/text.png")}}})),
      std::vector<std::string>{"small+picture"});
  EXPECT_TRUE(Exists("small.png"));
  EXPECT_FALSE(Exists("big.png"));
  EXPECT_FALSE(Exists("huge.png"));
  EXPECT_FALSE(Exists("text.png"));
}

TEST_F(AdReaderTest, AReaderGoneBeforeItsDownloadsEndIsNotReached) {
  server.ServeLate("/ad/ad1.php", 200ms, Reply(4, {{0, {Item{}}}}));
  bool reached = false;
  {
    TOrvoADReader reader(Settings(), [&](const TagOrvoAdInfo&) { reached = true; });
    reader.Start();
  }
  PumpUntil([&] { return server.Count("/ad/ad1.php") == 1; }, 2s);
  screen->Dispatcher()->RunUntil([] { return false; }, 300ms);
  EXPECT_FALSE(reached);
}

}  // namespace
}  // namespace orvo::test
