// Follows what a client sends on a WebSocket connection, byte by byte as
// the server reads it: the upgrade request, then each frame's header,
// passing over payloads without keeping them. It never holds more than a
// header's fourteen bytes, however long a frame claims to be.
//
// The server's WebSocket reader takes frames a client did not mask, and
// answers every ping by itself; this is what lets the front see both.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvelis::server {

class FrameTracker {
 public:
  enum class Fault {
    None,
    Unmasked,    // a client's frame without its mask
    BadLength,   // a 64-bit length with its top bit set
    BadControl,  // a control frame fragmented or over 125 bytes
  };

  // The first `headBytes` bytes are the upgrade request (its blank line
  // included); frames start after them.
  explicit FrameTracker(std::uint64_t headBytes = 0)
      : state_(headBytes > 0 ? State::Head : State::First), length_(headBytes) {}

  // Follows `size` more bytes; returns the ping frames whose header ended
  // in them. After a fault nothing more is followed.
  int Feed(const unsigned char* data, std::size_t size);
  int Feed(const char* data, std::size_t size) {
    return Feed(reinterpret_cast<const unsigned char*>(data), size);
  }

  // `size` bytes the reader passed over without reading them. Only the
  // head's or a payload's may be: anywhere else the tracker has lost its
  // place and follows nothing more (the client did nothing wrong).
  void Skip(std::uint64_t size);

  Fault Faulty() const { return fault_; }
  bool InHead() const { return state_ == State::Head; }
  bool Following() const { return state_ != State::Stopped; }
  // Frames whose header was read whole.
  std::uint64_t Frames() const { return frames_; }

 private:
  enum class State { Head, First, Second, Length, Mask, Payload, Stopped };

  // Takes one header byte; true when a ping's header ended with it.
  bool Header(unsigned char c);
  // The header is whole: the payload, if any, is next.
  bool Ended();
  void Stop(Fault fault) {
    fault_ = fault;
    state_ = State::Stopped;
  }

  State state_;
  Fault fault_ = Fault::None;
  unsigned char opcode_ = 0;  // of the frame being read
  int lengthBytes_ = 0;       // extended length bytes still to come
  bool longLength_ = false;   // the extended length is the 64-bit one
  int maskBytes_ = 0;         // mask bytes still to come
  std::uint64_t length_ = 0;  // what is left of the head or the payload
  std::uint64_t frames_ = 0;
};

}  // namespace tarvelis::server
