#pragma once
// The blur that gives labels their glow: a one-dimensional Gaussian kernel applied along
// rows and then along columns, in single precision, over all four channels.
#include <memory>
#include <stdexcept>
#include <vector>

#include "graphics/bitmap.h"

namespace orvo {

// Raised by TLumUIKernel with the toolkit's own texts (the first one spelled as it always
// was).
class ELumKernelError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TLumUIKernel {
 public:
  // Raises ELumKernelError for a width or height of 0 or less, or fewer weights than
  // width * height.
  TLumUIKernel(int width, int height, const std::vector<float>& weights);
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const { return width_ * height_; }
  // Raises ELumKernelError for an index outside 0 .. Count - 1.
  float Weight(int index) const;

  // Kernel for radius r: n = ceil(r), 2n + 1 taps at x = -n .. n weighing
  // exp(-x^2 / (2 sigma^2)) / sqrt(2 pi sigma) with sigma = r / 3 (0 where x^2 > r^2),
  // normalised to sum 1. A radius of 0 or less gives the one-tap kernel that copies.
  static TLumUIKernel Gaussian(float radius);

 private:
  int width_;
  int height_;
  std::vector<float> weights_;
};

enum class BlurEdge { kClamp = 1, kWrap = 2 };

class TLumUIGaussianFilter {
 public:
  explicit TLumUIGaussianFilter(float radius);
  float Radius() const { return radius_; }
  const TLumUIKernel& Kernel() const { return *kernel_; }
  // True: the alpha channel is blurred too; false: the result's alpha is 255.
  bool BlurAlpha = true;
  BlurEdge Edge = BlurEdge::kWrap;

  // Blurs source into destination (resized to the source); nothing when either is missing
  // or the source is empty.
  void Apply(const Bitmap32* source, Bitmap32* destination) const;

 private:
  float radius_;
  std::unique_ptr<TLumUIKernel> kernel_;
};

}  // namespace orvo
