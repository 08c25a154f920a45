// Program files inside an image (a browser's executable, an add-on's DLL): their version
// record and icon groups are read from the bytes without Windows. Whatever the headers
// and resource directories claim, nothing is read outside the file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "platform/pe_resources.h"
#include "platform/pe_version.h"
#include "platform/sandbox/icon_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvo::os;
  const std::string_view image(reinterpret_cast<const char*>(data), size);
  for (uint32_t type : {kRtVersion, kRtGroupIcon, kRtIcon}) {
    if (const auto resource = PeResourceData(image, type, std::nullopt)) {
      FUZZ_CHECK(resource->data() >= image.data() &&
                 resource->data() + resource->size() <= image.data() + image.size());
    }
  }
  ReadPeFixedFileInfo(image);
  for (int index : {0, 1, -1, -32512}) sandbox::DecodeProgramIcon(image, index);
  return 0;
}
