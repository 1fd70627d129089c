#include "photo/Exiv2Library.h"

#include <mutex>

namespace kavro {
namespace {

// The XMP toolkit is shared by every thread of the process; it asks for a lock of its own.
void LockXmp(void* mutex, bool lock) {
  auto* m = static_cast<std::mutex*>(mutex);
  if (lock) {
    m->lock();
  } else {
    m->unlock();
  }
}

}  // namespace

void UseExiv2() {
  static std::once_flag once;
  static std::mutex xmpLock;
  std::call_once(once, [] {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::XmpParser::initialize(LockXmp, &xmpLock);
#ifdef EXV_ENABLE_BMFF
    Exiv2::enableBMFF(true);
#endif
  });
}

}  // namespace kavro
