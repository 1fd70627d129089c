#pragma once
// libexiv2 for the photo room only. Its 0.27 headers still use std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

namespace kavro {

// Sets the library up once per process (BMFF for HEIC and CR3, its own log muted: problems come
// back as exceptions, which the callers turn into report lines). Safe from any thread.
void UseExiv2();

}  // namespace kavro
