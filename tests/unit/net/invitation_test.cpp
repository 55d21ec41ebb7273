#include "net/invitation.h"

#include <gtest/gtest.h>

namespace tarvelis::net {
namespace {

TEST(Invitation, ALinkGivesTheServerTheCodeAndTheSeat) {
  const auto a = ParseInvitationLink("tarvelis://127.0.0.1:7801/5k9kwg3hpq/2");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Address.Text(), "127.0.0.1:7801");
  EXPECT_FALSE(a->Address.Secure);
  EXPECT_EQ(a->Code, "5K9KWG3HPQ");
  EXPECT_EQ(a->Seat, 2);
  EXPECT_TRUE(a->Name.empty());
  // A trailing slash, the scheme in capitals, an IPv6 host and the usual port.
  const auto b = ParseInvitationLink("TARVELIS://[::1]:7801/5K9KWG3HPQ/4/");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->Address.Host, "::1");
  EXPECT_EQ(ParseInvitationLink("tarvelis://mesa.example/5K9KWG3HPQ/1")->Address.Port,
            kDefaultServerPort);
  // What the game writes it reads back.
  EXPECT_EQ(ParseInvitationLink(InvitationLink(b->Address, b->Code, b->Seat)), b);
}

TEST(Invitation, AHostileLinkGivesNothing) {
  const char* const hostile[] = {
      "",
      "tarvelis://",
      "tarvelis:///5K9KWG3HPQ/2",
      "tarvelis://127.0.0.1:7801",
      "tarvelis://127.0.0.1:7801/5K9KWG3HPQ",
      "tarvelis://127.0.0.1:7801/5K9KWG3HPQ/5",
      "tarvelis://127.0.0.1:7801/5K9KWG3HPQ/0",
      "tarvelis://127.0.0.1:7801/5K9KWG3HPQ/22",
      "tarvelis://127.0.0.1:7801/5K9KW/2",
      "tarvelis://127.0.0.1:7801/5K9KWG3HPQX/2",
      "tarvelis://127.0.0.1:99999/5K9KWG3HPQ/2",
      "tarvelis://127.0.0.1:7801/x/5K9KWG3HPQ/2",
      "tarvelis://ws://127.0.0.1:7801/5K9KWG3HPQ/2",
      "tarvelis://user@127.0.0.1:7801/5K9KWG3HPQ/2",
      "tarvelis://127.0.0.1%3A7801/5K9KWG3HPQ/2",
      "tarvelis://127.0.0.1:7801/5K9KWG3HPQ/2?name=Ana",
      "tarvelis://127.0.0.1:7801/5K9KWG3HPQ/2#x",
      "tarvelis://127.0.0.1 :7801/5K9KWG3HPQ/2",
      "tarvelis://127.0.0.1:7801/5K9K\nWG/2",
      "http://127.0.0.1:7801/5K9KWG3HPQ/2",
      "tarvelis:/127.0.0.1:7801/5K9KWG3HPQ/2",
  };
  for (const char* link : hostile) EXPECT_FALSE(ParseInvitationLink(link)) << link;
  EXPECT_FALSE(ParseInvitationLink(std::string(kInvitationScheme) + std::string(100000, 'a') +
                                   "/5K9KWG3HPQ/2"));
  EXPECT_FALSE(ParseInvitationLink(std::string("tarvelis://a\0b:1/5K9KWG3HPQ/2", 29)));
}

TEST(Invitation, TheWordsAfterJoinAreAnAddressACodeASeatAndAName) {
  const auto a = ParseJoinArguments({"wss://127.0.0.1:7801", "5k9kwg3hpq", "3", "Beatriz"});
  ASSERT_TRUE(a);
  EXPECT_TRUE(a->Address.Secure);
  EXPECT_EQ(a->Code, "5K9KWG3HPQ");
  EXPECT_EQ(a->Seat, 3);
  EXPECT_EQ(a->Name, "Beatriz");
  EXPECT_EQ(ParseJoinArguments({"tarvelis://127.0.0.1:7801/5K9KWG3HPQ/2"})->Seat, 2);
  EXPECT_FALSE(ParseJoinArguments({}));
  EXPECT_FALSE(ParseJoinArguments({""}));
  EXPECT_FALSE(ParseJoinArguments({"127.0.0.1:7801", "5K9KWG3HPQ"}));
  EXPECT_FALSE(ParseJoinArguments({"127.0.0.1:7801", "5K9KWG3HPQ", "x"}));
  EXPECT_FALSE(ParseJoinArguments({"127.0.0.1:7801", "5K9KWG3HPQ", "2", "Ana\nB"}));
  EXPECT_FALSE(ParseJoinArguments({"127.0.0.1:7801", "5K9KWG3HPQ", "2", std::string(65, 'a')}));
  EXPECT_FALSE(ParseJoinArguments({"127.0.0.1:7801", "5K9KWG3HPQ", "2", "Ana", "más"}));
}

}  // namespace
}  // namespace tarvelis::net
