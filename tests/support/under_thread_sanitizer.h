// Whether this build runs under ThreadSanitizer: tests of Qt's own threads
// (its D-Bus thread, its wayland platform), which hand work to each other in
// Qt and glib code the tool cannot follow, skip under it and say so.
#pragma once

namespace test_build {

#ifdef __SANITIZE_THREAD__
constexpr bool kUnderThreadSanitizer = true;
#else
constexpr bool kUnderThreadSanitizer = false;
#endif

}  // namespace test_build
