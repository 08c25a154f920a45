// Addresses from the network: which ones may reach the shell, and how a page's references
// become absolute.
#include <gtest/gtest.h>

#include "notices/web_address.h"

namespace orvo {
namespace {

TEST(WebAddress, OnlyWebPagesAndForLinksMailAreOpenable) {
  struct Case {
    const char* address;
    bool page;
    bool page_or_mail;
  };
  const Case cases[] = {
      {"http://orvo.example/download.html", true, true},
      {"https://orvo.example/x?a=1&b=2#top", true, true},
      {"  HTTPS://Orvo.Example/  ", true, true},
      {"mailto:support@orvo.example?subject=Hi there", false, true},
      {"mailto:", false, false},
      {"file:///C:/Windows/System32/calc.exe", false, false},
      {"C:\\Windows\\notepad.exe", false, false},
      {"\\\\server\\share\\setup.exe", false, false},
      {"/download.html", false, false},
      {"download.html", false, false},
      {"javascript:alert(1)", false, false},
      {"ms-settings:privacy", false, false},
      {"vbscript:x", false, false},
      {"http:orvo.example", false, false},
      {"http://", false, false},
      {"http://user@evil.example/", false, false},
      {"http://orvo.example/a b", false, false},
      {"http://orvo.example/\" --flag", false, false},
      {"http://orvo.example/\r\nx", false, false},
      {"http://orvo.example/\\\\server\\share\\x.exe", false, false},
      {"", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsOpenableAddress(c.address, AddressUse::kPage), c.page) << c.address;
    EXPECT_EQ(IsOpenableAddress(c.address, AddressUse::kPageOrMail), c.page_or_mail) << c.address;
  }
}

TEST(WebAddress, ReferencesResolveAgainstThePage) {
  const std::string base = "http://Site.Test:8086/news/msg.html?issue=1#top";
  struct Case {
    const char* reference;
    const char* expected;
  };
  const Case cases[] = {
      {"img/a.png", "http://site.test:8086/news/img/a.png"},
      {"./img/../img/a.png", "http://site.test:8086/news/img/a.png"},
      {"../help.html", "http://site.test:8086/help.html"},
      {"../../../../x", "http://site.test:8086/x"},
      {"/ad/b.png?v=2", "http://site.test:8086/ad/b.png?v=2"},
      {"?issue=2", "http://site.test:8086/news/msg.html?issue=2"},
      {"//cdn.test/c.png", "http://cdn.test/c.png"},
      {"https://other.test/d", "https://other.test/d"},
      {"mailto:a@b.test", "mailto:a@b.test"},
      {"javascript:go()", "javascript:go()"},
      {"#section", ""},
      {"", ""},
      {"  img/a.png#frag ", "http://site.test:8086/news/img/a.png"},
  };
  for (const Case& c : cases) EXPECT_EQ(ResolveUrl(base, c.reference), c.expected) << c.reference;
  EXPECT_EQ(ResolveUrl("not a url", "img/a.png"), "");
  EXPECT_EQ(ResolveUrl("http://site.test", "a.png"), "http://site.test/a.png");
}

TEST(WebAddress, SameSiteMeansSameSchemeHostAndPort) {
  EXPECT_TRUE(SameSite("http://site.test/a", "http://SITE.test/b/c"));
  EXPECT_FALSE(SameSite("http://site.test/a", "https://site.test/a"));
  EXPECT_FALSE(SameSite("http://site.test/a", "http://site.test:81/a"));
  EXPECT_FALSE(SameSite("http://site.test/a", "http://other.test/a"));
  EXPECT_FALSE(SameSite("file:///a", "file:///a"));
}

}  // namespace
}  // namespace orvo
