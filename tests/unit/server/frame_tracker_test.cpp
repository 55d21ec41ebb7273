// The front's view of a client's WebSocket bytes, fed as a network would
// cut them, and what one address may cost the port's page.
#include "server/frame_tracker.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "server/page_ledger.h"

namespace tarvelis::server {
namespace {

using Bytes = std::vector<unsigned char>;
using Fault = FrameTracker::Fault;

// One frame as a client sends it: FIN set unless `more`, masked unless told.
Bytes Frame(unsigned char opcode, std::uint64_t length, bool masked = true, bool more = false) {
  Bytes b{static_cast<unsigned char>((more ? 0x00 : 0x80) | opcode)};
  const unsigned char mask = masked ? 0x80 : 0x00;
  if (length < 126) {
    b.push_back(static_cast<unsigned char>(mask | length));
  } else if (length < 65536) {
    b.push_back(mask | 126);
    for (int shift = 8; shift >= 0; shift -= 8) b.push_back((length >> shift) & 0xFF);
  } else {
    b.push_back(mask | 127);
    for (int shift = 56; shift >= 0; shift -= 8) b.push_back((length >> shift) & 0xFF);
  }
  if (masked) b.insert(b.end(), {0x11, 0x22, 0x33, 0x44});
  b.insert(b.end(), static_cast<std::size_t>(std::min<std::uint64_t>(length, 1 << 20)), 'x');
  return b;
}

const std::string kHead = "GET / HTTP/1.1\r\nUpgrade: websocket\r\nX: \x81\x05\r\n\r\n";

Bytes Head() {
  return Bytes(kHead.begin(), kHead.end());
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Feeds `bytes` in pieces of `piece`; returns the pings seen.
int FeedInPieces(FrameTracker& t, const Bytes& bytes, std::size_t piece) {
  int pings = 0;
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    pings += t.Feed(bytes.data() + at, std::min(piece, bytes.size() - at));
  }
  return pings;
}

TEST(FrameTracker, FollowsFramesHoweverTheBytesAreCut) {
  // A text message in two fragments with a ping and a pong between them,
  // lengths of every size, then another ping.
  const Bytes stream = Head() + Frame(0x1, 5, true, true) + Frame(0x9, 125) + Frame(0xA, 0) +
                       Frame(0x0, 300) + Frame(0x2, 70000) + Frame(0x9, 0) + Frame(0x1, 0);
  for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{13},
                                  std::size_t{4096}, stream.size()}) {
    FrameTracker t(kHead.size());
    EXPECT_EQ(FeedInPieces(t, stream, piece), 2) << "pieces of " << piece;
    EXPECT_EQ(t.Faulty(), Fault::None) << "pieces of " << piece;
    EXPECT_EQ(t.Frames(), 7u) << "pieces of " << piece;
    EXPECT_FALSE(t.InHead());
  }
}

TEST(FrameTracker, TheHeadAndPayloadsMayBePassedOverUnread) {
  // The head holds bytes that would be an unmasked frame: they are the head's,
  // read or passed over in any pieces.
  FrameTracker read(kHead.size());
  read.Feed(kHead.data(), kHead.size() - 1);
  EXPECT_TRUE(read.InHead());
  read.Skip(1);
  EXPECT_FALSE(read.InHead());
  const Bytes text = Frame(0x1, 10) + Frame(0x9, 0);
  FrameTracker skipped(kHead.size());
  skipped.Skip(kHead.size());
  EXPECT_EQ(skipped.Feed(text.data(), 8), 0);  // the header and two bytes
  skipped.Skip(8);
  EXPECT_EQ(skipped.Feed(text.data() + 16, text.size() - 16), 1);
  EXPECT_EQ(skipped.Faulty(), Fault::None);
  EXPECT_TRUE(skipped.Following());
  // Passing over a header leaves it lost, not faulty: it follows no more.
  FrameTracker lost;
  lost.Skip(1);
  const Bytes unmasked = Frame(0x1, 1, false);
  lost.Feed(unmasked.data(), unmasked.size());
  EXPECT_FALSE(lost.Following());
  EXPECT_EQ(lost.Faulty(), Fault::None);
}

TEST(FrameTracker, AnUnmaskedFrameIsAFaultAndStopsIt) {
  const Bytes stream = Head() + Frame(0x1, 2) + Frame(0x1, 4, false) + Frame(0x9, 0);
  FrameTracker t(kHead.size());
  EXPECT_EQ(FeedInPieces(t, stream, 1), 0);
  EXPECT_EQ(t.Faulty(), Fault::Unmasked);
  EXPECT_EQ(t.Frames(), 1u);
  // An unmasked control frame too, split right at its second byte.
  FrameTracker c(kHead.size());
  const Bytes pong = Head() + Frame(0xA, 0, false);
  c.Feed(pong.data(), pong.size() - 1);
  EXPECT_EQ(c.Faulty(), Fault::None);
  c.Feed(pong.data() + pong.size() - 1, 1);
  EXPECT_EQ(c.Faulty(), Fault::Unmasked);
}

TEST(FrameTracker, LengthsAtTheEdgesOf64Bits) {
  // 2^63 - 1 is a length (never reached: its payload is simply skipped);
  // 2^63 is none.
  const std::uint64_t top = std::uint64_t{1} << 63;
  FrameTracker longest;
  const Bytes huge = Frame(0x2, top - 1);
  longest.Feed(huge.data(), huge.size());
  EXPECT_EQ(longest.Faulty(), Fault::None);
  EXPECT_EQ(longest.Frames(), 1u);
  // A ping inside that payload is payload, not a ping.
  const Bytes ping = Frame(0x9, 0);
  EXPECT_EQ(longest.Feed(ping.data(), ping.size()), 0);

  for (const std::uint64_t bad : {top, ~std::uint64_t{0}}) {
    FrameTracker t;
    const Bytes b = Frame(0x2, bad);
    FeedInPieces(t, Bytes(b.begin(), b.begin() + 10), 1);
    EXPECT_EQ(t.Faulty(), Fault::BadLength);
  }
}

TEST(FrameTracker, ControlFramesAreShortAndWhole) {
  for (const Bytes& b : {Frame(0x9, 126), Frame(0x9, 3, true, true), Frame(0x8, 200)}) {
    FrameTracker t;
    t.Feed(b.data(), b.size());
    EXPECT_EQ(t.Faulty(), Fault::BadControl);
  }
}

TEST(PageLedger, BoundsEachAddressAlone) {
  PageLedger ledger(2, 3);
  EXPECT_TRUE(ledger.Open("a", 0));
  EXPECT_TRUE(ledger.Open("a", 0));
  EXPECT_FALSE(ledger.Open("a", 0));
  EXPECT_TRUE(ledger.Open("b", 0));
  ledger.Close("a", 10);
  EXPECT_TRUE(ledger.Open("a", 10));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(ledger.Request("a", 20));
  EXPECT_FALSE(ledger.Request("a", 20));
  EXPECT_TRUE(ledger.Request("b", 20));
  // Refused again and again, the address's next connections are refused
  // as they open.
  ledger.Close("a", 20);
  for (int i = 1; i < PageLedger::kStrikes; ++i) EXPECT_FALSE(ledger.Request("a", 20));
  EXPECT_FALSE(ledger.Open("a", 20));
  // Three a minute: one back after twenty seconds.
  EXPECT_TRUE(ledger.Open("a", 20020));
  EXPECT_TRUE(ledger.Request("a", 20020));
  EXPECT_FALSE(ledger.Request("a", 20020));
  // Only an address with nothing open, a minute quiet, is forgotten.
  ledger.Close("b", 30000);
  ledger.Prune(90000);
  EXPECT_EQ(ledger.Addresses(), 1u);
}

}  // namespace
}  // namespace tarvelis::server
