#include "net/server_address.h"

#include <gtest/gtest.h>

namespace tarvelis::net {
namespace {

TEST(ServerAddress, ReadsWhatAPlayerTypes) {
  struct Case {
    const char* Typed;
    const char* Url;
  };
  for (const Case& c :
       {Case{"127.0.0.1:8000", "ws://127.0.0.1:8000"},
        Case{"  mesa.example.org ", "ws://mesa.example.org:7777"}, Case{"[::1]:9", "ws://[::1]:9"},
        Case{"::1", "ws://[::1]:7777"}, Case{"wss://host:443/", "wss://host:443"}}) {
    const auto a = ParseServerAddress(c.Typed);
    ASSERT_TRUE(a) << c.Typed;
    EXPECT_EQ(a->Url(), c.Url);
  }
  for (const char* bad : {"", "host:", "host:0", "host:65536", "host:12ab", "ho st", "h/x:1",
                          "[::1", "[::1]x", "http://host:1"}) {
    EXPECT_FALSE(ParseServerAddress(bad)) << bad;
  }
}

}  // namespace
}  // namespace tarvelis::net
