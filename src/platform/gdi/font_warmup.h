// Fontconfig reads its configuration and font caches at its first use, a few milliseconds of
// parsing. A FontWarmup does that on a thread of its own while the program connects to the
// display and starts up; Wait() (or the destructor) joins it before the first text is laid
// out, so fontconfig is never entered from two threads at once.
#pragma once

#include <thread>

namespace platform::gdi {

class FontWarmup {
  public:
    FontWarmup();
    ~FontWarmup();
    FontWarmup(const FontWarmup&) = delete;
    FontWarmup& operator=(const FontWarmup&) = delete;

    void Wait();

  private:
    std::thread thread_;
};

}  // namespace platform::gdi
