// Kernel construction and the two-pass blur. Each pass writes its result transposed, so
// the second pass is the first one run again over the transposed picture.
#include "ui/lum_ui_gaussian_blur.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvo {
namespace {

// One pass: rows of `width` pixels in `in`, `height` rows; the result transposed into `out`.
void Pass(const std::vector<Argb>& in, std::vector<Argb>& out, int width, int height,
          const TLumUIKernel& kernel, bool blur_alpha, BlurEdge edge) {
  const int k = kernel.Width() / 2;
  std::vector<std::pair<int, float>> taps;
  for (int j = -k; j <= k; ++j) {
    const float w = kernel.Weight(j + k);
    if (w != 0.0f) taps.emplace_back(j, w);
  }
  for (int y = 0; y < height; ++y) {
    const Argb* row = in.data() + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      float a = 0, r = 0, g = 0, b = 0;
      for (const auto& [j, w] : taps) {
        int e = x + j;
        if (e < 0 || e >= width) {
          // Wrapping uses a true modulo, so a kernel wider than the picture stays inside it.
          e = edge == BlurEdge::kClamp ? std::clamp(e, 0, width - 1)
                                       : ((e % width) + width) % width;
        }
        const Argb p = row[e];
        a += w * AlphaOf(p);
        r += w * RedOf(p);
        g += w * GreenOf(p);
        b += w * BlueOf(p);
      }
      const auto channel = [](float v) {
        return static_cast<uint32_t>(std::clamp<float>(std::nearbyint(v), 0.0f, 255.0f));
      };
      out[static_cast<size_t>(x) * height + y] =
          MakeArgb(blur_alpha ? channel(a) : 255, channel(r), channel(g), channel(b));
    }
  }
}

}  // namespace

TLumUIKernel::TLumUIKernel(int width, int height, const std::vector<float>& weights)
    : width_(width), height_(height) {
  if (width <= 0) throw ELumKernelError("Kenel width is less than or equal to zero.");
  if (height <= 0) throw ELumKernelError("Kernel height is less than or equal to zero.");
  if (weights.size() < static_cast<size_t>(width) * static_cast<size_t>(height)) {
    throw ELumKernelError("The length of the data array is less than the kernel size.");
  }
  weights_.assign(weights.begin(), weights.begin() + static_cast<long>(width) * height);
}

float TLumUIKernel::Weight(int index) const {
  if (index < 0 || index >= Count()) throw ELumKernelError("The index is out of the range");
  return weights_[static_cast<size_t>(index)];
}

TLumUIKernel TLumUIKernel::Gaussian(float radius) {
  if (!(radius > 0)) return TLumUIKernel(1, 1, {1.0f});
  const int n = static_cast<int>(std::ceil(radius));
  const float sigma = radius / 3;
  std::vector<float> weights;
  float sum = 0;
  for (int x = -n; x <= n; ++x) {
    const float xx = static_cast<float>(x * x);
    const float w = xx > radius * radius ? 0.0f
                                         : std::exp(-xx / (2 * sigma * sigma)) /
                                               std::sqrt(2 * std::numbers::pi_v<float> * sigma);
    weights.push_back(w);
    sum += w;
  }
  for (float& w : weights) w /= sum;
  return TLumUIKernel(2 * n + 1, 1, weights);
}

TLumUIGaussianFilter::TLumUIGaussianFilter(float radius)
    : radius_(radius), kernel_(std::make_unique<TLumUIKernel>(TLumUIKernel::Gaussian(radius))) {}

void TLumUIGaussianFilter::Apply(const Bitmap32* source, Bitmap32* destination) const {
  if (!source || !destination || source->empty()) return;
  const int w = source->width(), h = source->height();
  std::vector<Argb> p0(source->pixels(), source->pixels() + static_cast<size_t>(w) * h);
  std::vector<Argb> p1(p0.size());
  Pass(p0, p1, w, h, *kernel_, BlurAlpha, Edge);
  Pass(p1, p0, h, w, *kernel_, BlurAlpha, Edge);
  if (!destination->SetSize(w, h) || destination->empty()) return;
  std::copy(p0.begin(), p0.end(), destination->pixels());
}

}  // namespace orvo
