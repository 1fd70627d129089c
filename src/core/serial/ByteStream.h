#pragma once
// The byte stream the protocol talks to. Every byte that goes in or out passes Read or Write
// here, so one place can trace it (KAVRO_TRACE=1 prints a hex trace on stderr) and one place
// can watch it (a tap, e.g. a test counting polls on a real port).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace kavro {

class ByteStream {
 public:
  enum class Direction { In, Out };
  // Called after every Read or Write with the bytes moved (possibly none) and the call's result.
  using Tap = std::function<void(Direction, const std::uint8_t* data, std::size_t size, bool ok)>;

  ByteStream();
  virtual ~ByteStream();
  ByteStream(const ByteStream&) = delete;
  ByteStream& operator=(const ByteStream&) = delete;

  // Reads what is queued, at most size bytes, without waiting; got = 0 when nothing is queued.
  // False when the stream failed (closed, or the far end went away).
  bool Read(void* buffer, std::size_t size, std::size_t& got);
  // Writes the bytes; written tells how many went out. False on failure.
  bool Write(const void* data, std::size_t size, std::size_t& written);
  // Drops whatever is queued in both directions.
  virtual bool Purge() = 0;
  virtual bool IsOpen() const = 0;
  // True once a read or write found that the far end is gone (e.g. the cable was pulled).
  virtual bool Lost() const = 0;

  // Installs (or with an empty function removes) the tap. Set it while the stream is idle.
  void SetTap(Tap tap);
  // The name shown in the trace.
  virtual std::string TraceName() const = 0;

 protected:
  virtual bool DoRead(void* buffer, std::size_t size, std::size_t& got) = 0;
  virtual bool DoWrite(const void* data, std::size_t size, std::size_t& written) = 0;

 private:
  void Trace(Direction d, const std::uint8_t* data, std::size_t size, bool ok) const;
  bool trace_ = false;
  Tap tap_;
};

}  // namespace kavro
