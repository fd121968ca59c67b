// Pixel memory that starts as zeros. It comes from calloc, which hands out memory fresh from
// the kernel (zero already) without writing it again, where a vector would clear every page
// once more and take its page faults at once; reused heap memory is cleared as before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

namespace platform {

class ZeroedPixels {
  public:
    ZeroedPixels() = default;
    explicit ZeroedPixels(std::size_t count)
        : pixels_(count ? static_cast<std::uint32_t*>(std::calloc(count, sizeof(std::uint32_t)))
                        : nullptr),
          size_(count) {
        if (count && !pixels_) throw std::bad_alloc();
    }

    std::uint32_t* data() const { return pixels_.get(); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

  private:
    struct Free {
        void operator()(std::uint32_t* p) const { std::free(p); }
    };
    std::unique_ptr<std::uint32_t[], Free> pixels_;
    std::size_t size_ = 0;
};

}  // namespace platform
