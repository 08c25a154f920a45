// Installs the build's raster back end (FreeType natively, GDI under Windows) for a whole
// test executable, the way the program does at start-up.
#include <gtest/gtest.h>

#include "platform/raster.h"

namespace orvo::test {
namespace {

class RasterEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string error;
    raster_ = os::OpenRasterSystem(&error);
    ASSERT_TRUE(raster_) << error;
    os::InstallRaster(raster_.get());
  }
  void TearDown() override {
    os::InstallRaster(nullptr);
    raster_.reset();
  }

 private:
  std::unique_ptr<os::RasterSystem> raster_;
};

[[maybe_unused]] ::testing::Environment* const kRaster =
    ::testing::AddGlobalTestEnvironment(new RasterEnvironment);

}  // namespace
}  // namespace orvo::test
