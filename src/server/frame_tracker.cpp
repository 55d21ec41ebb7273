#include "server/frame_tracker.h"

#include <algorithm>

namespace tarvelis::server {
namespace {

constexpr unsigned char kPing = 0x9;

}  // namespace

int FrameTracker::Feed(const unsigned char* data, std::size_t size) {
  int pings = 0;
  std::size_t at = 0;
  while (at < size && state_ != State::Stopped) {
    if (state_ == State::Head || state_ == State::Payload) {
      // Passed over whole, whatever its length: nothing is kept.
      const auto skip = static_cast<std::size_t>(std::min<std::uint64_t>(length_, size - at));
      at += skip;
      Skip(skip);
    } else if (Header(data[at++])) {
      ++pings;
    }
  }
  return pings;
}

void FrameTracker::Skip(std::uint64_t size) {
  if (size == 0 || state_ == State::Stopped) return;
  if ((state_ != State::Head && state_ != State::Payload) || size > length_) {
    state_ = State::Stopped;
    return;
  }
  length_ -= size;
  if (length_ == 0) state_ = State::First;
}

bool FrameTracker::Header(unsigned char c) {
  switch (state_) {
    case State::First:
      opcode_ = c & 0x0F;
      // A control frame (opcode 8 and over) is never fragmented.
      if ((opcode_ & 0x8) != 0 && (c & 0x80) == 0) {
        Stop(Fault::BadControl);
        return false;
      }
      state_ = State::Second;
      return false;
    case State::Second: {
      if ((c & 0x80) == 0) {
        Stop(Fault::Unmasked);
        return false;
      }
      const unsigned char length = c & 0x7F;
      if ((opcode_ & 0x8) != 0 && length > 125) {
        Stop(Fault::BadControl);
        return false;
      }
      length_ = length < 126 ? length : 0;
      lengthBytes_ = length == 126 ? 2 : length == 127 ? 8 : 0;
      longLength_ = length == 127;
      maskBytes_ = 4;
      state_ = lengthBytes_ > 0 ? State::Length : State::Mask;
      return false;
    }
    case State::Length:
      // The 64-bit length's top bit must be clear: a length of 2^63 or
      // more is no length at all.
      if (longLength_ && lengthBytes_ == 8 && (c & 0x80) != 0) {
        Stop(Fault::BadLength);
        return false;
      }
      length_ = (length_ << 8) | c;
      if (--lengthBytes_ == 0) state_ = State::Mask;
      return false;
    case State::Mask:
      if (--maskBytes_ == 0) return Ended();
      return false;
    default:
      return false;
  }
}

bool FrameTracker::Ended() {
  ++frames_;
  state_ = length_ > 0 ? State::Payload : State::First;
  return opcode_ == kPing;
}

}  // namespace tarvelis::server
