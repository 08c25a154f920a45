// The site folder and the seed: notice files with the service's own address filled in,
// the advert description and its pictures, and the demo data the seed gives.
#include "service/service_fixture.h"

namespace orvo::service::test {
namespace {

using nlohmann::json;

struct Page {
  int status = 0;
  std::string type, body;
};

class SiteFiles : public ServiceTest {
 protected:
  Page Get(const std::string& target) {
    const std::string reply = harness::RawExchange(
        port(),
        "GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(port()) + "\r\n\r\n");
    Page page;
    if (!reply.starts_with("HTTP/1.")) return page;
    page.status = std::atoi(reply.c_str() + reply.find(' ') + 1);
    const size_t type = reply.find("Content-Type: ");
    if (type != std::string::npos) {
      page.type = reply.substr(type + 14, reply.find("\r\n", type) - type - 14);
    }
    const size_t head_end = reply.find("\r\n\r\n");
    if (head_end != std::string::npos) page.body = reply.substr(head_end + 4);
    return page;
  }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port()); }
};

TEST_F(SiteFiles, NoticeFilesCarryTheServiceAddress) {
  Start({.site = true});
  struct Case {
    const char* path;
    const char* must_hold;
  };
  const Case cases[] = {
      {"/update/xobverinfo.htm", "[VerInfo]"},
      {"/news/xobinfo.htm", "MsgID="},
      {"/news/r512info.htm", "MsgID="},
      {"/news/msg.html", "<body"},
      {"/download.html", "<body>"},
      {"/help.html", "<body>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const Page page = Get(c.path);
    EXPECT_EQ(page.status, 200);
    EXPECT_TRUE(page.type.starts_with("text/html")) << page.type;
    EXPECT_NE(page.body.find(c.must_hold), std::string::npos);
    EXPECT_EQ(page.body.find("{{BASE_URL}}"), std::string::npos);
  }
  EXPECT_NE(Get("/update/xobverinfo.htm").body.find("NewGetUrl=" + Base() + "/download.html"),
            std::string::npos);
  EXPECT_NE(Get("/news/xobinfo.htm").body.find("Url=" + Base() + "/news/msg.html"),
            std::string::npos);
}

TEST_F(SiteFiles, NothingOutsideTheSiteFolder) {
  Start({.site = true});
  for (const char* path : {"/../demo-seed.json", "/%2e%2e/demo-seed.json",
                           "/ad/../../CMakeLists.txt", "/ad/ad1.phpx", "/nothing.html"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(Get(path).status, 404);
  }
}

TEST_F(SiteFiles, AdvertDescriptionAndPictures) {
  Start({.site = true});
  const std::string query =
      "/ad/ad1.php?name=xob&ver=1.11.11&lang=C:%5COrvo%5CLanguages%5CEnglish.ini";
  const Page fresh = Get(query + "&adver=0");
  ASSERT_EQ(fresh.status, 200);
  const json description = json::parse(fresh.body, nullptr, false);
  ASSERT_EQ(MsgOf(description), 1) << fresh.body;
  EXPECT_EQ(description["adcheckurl"], Base() + "/ad/ad1.php");
  EXPECT_EQ(description["adlang"], "C:\\Orvo\\Languages\\English.ini");
  for (const char* key : {"adid", "adver", "adrefresh", "adgroup"})
    EXPECT_TRUE(description.contains(key)) << key;
  ASSERT_FALSE(description["adgroup"].empty());
  for (const json& group : description["adgroup"]) {
    EXPECT_TRUE(group["kind"].is_number_integer() && group["page"].is_number_integer());
    for (const json& item : group["adinfo"]) {
      for (const char* key : {"align", "frame", "fontsize", "interval", "life"}) {
        EXPECT_TRUE(item[key].is_number_integer()) << key;
      }
      for (const char* key :
           {"title", "tips", "link", "imgsrc", "fontcolor", "fontcolorover", "fontname"}) {
        EXPECT_TRUE(item[key].is_string()) << key;
      }
      for (const char* key : {"left", "top", "right", "bottom"}) {
        EXPECT_TRUE(item["rect"][key].is_number_integer()) << key;
      }
      const std::string picture = item["imgsrc"].get<std::string>();
      ASSERT_TRUE(picture.starts_with(Base())) << picture;
      const Page png = Get(picture.substr(Base().size()));
      EXPECT_EQ(png.status, 200);
      EXPECT_EQ(png.type, "image/png");
      EXPECT_TRUE(png.body.starts_with("\x89PNG\r\n\x1a\n"));
    }
  }
  // The client that holds the current version keeps its copy; incomplete requests get none.
  const std::string current = description["adver"].get<std::string>();
  EXPECT_EQ(MsgOf(json::parse(Get(query + "&adver=" + current).body)), 0);
  EXPECT_EQ(MsgOf(json::parse(Get("/ad/ad1.php?name=xob&ver=1.11.11&adver=0").body)), 2);
  EXPECT_EQ(MsgOf(json::parse(Get("/ad/ad1.php?name=other&ver=1&lang=x&adver=0").body)), 2);
}

TEST_F(SiteFiles, WithoutASiteOnlyTheRatingsAreServed) {
  Start();
  EXPECT_EQ(Get("/update/xobverinfo.htm").status, 404);
  EXPECT_EQ(Get("/ad/ad1.php?name=xob&ver=1&lang=x&adver=0").status, 404);
  EXPECT_EQ(NewKey().size(), 32u);
}

TEST_F(SiteFiles, TheSeedGivesTheDemoAddonsRatingsOnce) {
  Start({.site = true, .seed = true});
  const std::string key = NewKey();
  const std::string chrome_ids =
      "%5B\"fblkdohiomlcbgpekccokebfafkgegcf\",\"hmejmoapjdlhjmhkabfnkdjjloonhlab\","
      "\"@orvo-demo.example/NoName,version=1.0\"%5D";
  const std::string lines =
      PostText("get_plugs_rating", "browser_id=1&plug_ids_json=" + chrome_ids + "&key=" + key);
  EXPECT_TRUE(lines.starts_with("msg=9\nfblkdohiomlcbgpekccokebfafkgegcf=")) << lines;
  EXPECT_NE(lines.find("\nhmejmoapjdlhjmhkabfnkdjjloonhlab=0.00,0\n"), std::string::npos) << lines;
  EXPECT_EQ(lines.find("NoName"), std::string::npos);  // not registered: the program adds it

  const json info =
      Post("get_plug_info",
           "browser_id=1&sort_type=0&plug_id=fblkdohiomlcbgpekccokebfafkgegcf&key=" + key);
  ASSERT_EQ(MsgOf(info), 1);
  const std::string plug = info["id"].get<std::string>();
  auto page_code = [&](int start) {
    return Code("get_comments", "plug_id=" + plug + "&sort_type=0&start_id=" +
                                    std::to_string(start) + "&key=" + key);
  };
  EXPECT_EQ(page_code(0), 6);
  EXPECT_EQ(page_code(10), 6);
  EXPECT_EQ(page_code(20), 5);
  const int64_t reviews = CountRows("SELECT count(*) FROM reviews");
  EXPECT_GT(reviews, 100);
  Restart();
  EXPECT_EQ(CountRows("SELECT count(*) FROM reviews"), reviews);
  for (const char* browser_and_id : {"browser_id=0&plug_id={6B1D2F3A-2222-4C2E-9A11-0D3E5F7A9B02}",
                                     "browser_id=3&plug_id=darkfox@orvo-demo.example",
                                     "browser_id=4&plug_id=ijhalcmpfecbabjmpagjaihimajngpoo"}) {
    SCOPED_TRACE(browser_and_id);
    EXPECT_EQ(Code("get_plug_info", std::string(browser_and_id) + "&key=" + key), 1);
  }
}

}  // namespace
}  // namespace orvo::service::test
