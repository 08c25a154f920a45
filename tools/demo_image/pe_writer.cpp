// The smallest PE32+ image Windows' icon extraction accepts:
//
//   0x000  DOS header ("MZ", e_lfanew = 0x40)
//   0x040  "PE\0\0", COFF header, PE32+ optional header (resource directory only)
//   0x148  one section header: .rsrc at RVA 0x1000, file offset 0x200
//   0x200  resource tree  RT_ICON (3) / ids 1..n / 0x409 -> icon images
//                         RT_GROUP_ICON (14) / id 1 / 0x409 -> GRPICONDIR
#include <cstring>

#include "icon_painter.h"

namespace orvo::tools {
namespace {

void Put16(std::string& b, size_t at, uint32_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}
size_t Align(size_t v, size_t a) { return (v + a - 1) / a * a; }

constexpr uint32_t kSectionRva = 0x1000;
constexpr size_t kSectionFile = 0x200;
constexpr uint32_t kRtIconType = 3;
constexpr uint32_t kRtGroupType = 14;

// A directory with `ids.size()` id entries pointing at `targets` (subdirectories when
// `dirs`), written at `at` in the section; returns its size.
size_t Directory(std::string& sec, size_t at, const std::vector<uint32_t>& ids,
                 const std::vector<size_t>& targets, bool dirs) {
  Put16(sec, at + 14, static_cast<uint32_t>(ids.size()));
  for (size_t i = 0; i < ids.size(); ++i) {
    Put32(sec, at + 16 + i * 8, ids[i]);
    Put32(sec, at + 20 + i * 8, static_cast<uint32_t>(targets[i]) | (dirs ? 0x80000000u : 0));
  }
  return 16 + ids.size() * 8;
}

}  // namespace

std::string WriteIconProgram(const std::vector<os::Pixels>& sizes) {
  const size_t n = sizes.size();
  std::vector<std::string> images;
  for (const auto& p : sizes) images.push_back(EncodeIconImage(p));
  std::string group(6 + 14 * n, '\0');
  Put16(group, 2, 1);
  Put16(group, 4, static_cast<uint32_t>(n));
  for (size_t i = 0; i < n; ++i) {
    const size_t e = 6 + 14 * i;
    group[e] = static_cast<char>(sizes[i].width >= 256 ? 0 : sizes[i].width);
    group[e + 1] = static_cast<char>(sizes[i].height >= 256 ? 0 : sizes[i].height);
    Put16(group, e + 4, 1);
    Put16(group, e + 6, 32);
    Put32(group, e + 8, static_cast<uint32_t>(images[i].size()));
    Put16(group, e + 12, static_cast<uint32_t>(i + 1));
  }

  // Layout of the section: root, the two type directories, n + 1 name directories,
  // n + 1 language directories, n + 1 data entries, then the data.
  const size_t root = 0;
  const size_t icon_dir = root + 16 + 2 * 8;
  const size_t group_dir = icon_dir + 16 + n * 8;
  const size_t names = group_dir + 16 + 8;            // n + 1 language directories
  const size_t entries = names + (n + 1) * (16 + 8);  // n + 1 data entries
  size_t data = Align(entries + (n + 1) * 16, 8);
  std::vector<size_t> data_at;
  for (size_t i = 0; i <= n; ++i) {
    data_at.push_back(data);
    data = Align(data + (i < n ? images[i].size() : group.size()), 8);
  }
  std::string sec(data, '\0');
  Directory(sec, root, {kRtIconType, kRtGroupType}, {icon_dir, group_dir}, true);
  std::vector<uint32_t> ids;
  std::vector<size_t> lang_dirs;
  for (size_t i = 0; i < n; ++i) {
    ids.push_back(static_cast<uint32_t>(i + 1));
    lang_dirs.push_back(names + i * 24);
  }
  Directory(sec, icon_dir, ids, lang_dirs, true);
  Directory(sec, group_dir, {1}, {names + n * 24}, true);
  for (size_t i = 0; i <= n; ++i) {
    Directory(sec, names + i * 24, {0x409}, {entries + i * 16}, false);
    Put32(sec, entries + i * 16, static_cast<uint32_t>(kSectionRva + data_at[i]));
    const std::string& bytes = i < n ? images[i] : group;
    Put32(sec, entries + i * 16 + 4, static_cast<uint32_t>(bytes.size()));
    std::memcpy(&sec[data_at[i]], bytes.data(), bytes.size());
  }

  const size_t raw_size = Align(sec.size(), 0x200);
  std::string b(kSectionFile + raw_size, '\0');
  b[0] = 'M';
  b[1] = 'Z';
  Put32(b, 0x3C, 0x40);
  std::memcpy(&b[0x40], "PE\0\0", 4);
  const size_t coff = 0x44;
  Put16(b, coff, 0x8664);
  Put16(b, coff + 2, 1);
  Put16(b, coff + 16, 240);
  Put16(b, coff + 18, 0x0022);  // executable image, large address aware
  const size_t opt = coff + 20;
  Put16(b, opt, 0x20B);
  b[opt + 2] = 14;
  Put32(b, opt + 8, static_cast<uint32_t>(raw_size));  // initialised data
  Put32(b, opt + 20, kSectionRva);                     // base of code
  Put32(b, opt + 24, 0x40000000);                      // image base (low half)
  Put32(b, opt + 28, 0x1);                             // image base (high half): 0x140000000
  Put32(b, opt + 32, 0x1000);                          // section alignment
  Put32(b, opt + 36, 0x200);                           // file alignment
  Put16(b, opt + 40, 6);
  Put16(b, opt + 48, 6);
  Put32(b, opt + 56, static_cast<uint32_t>(kSectionRva + Align(sec.size(), 0x1000)));  // image size
  Put32(b, opt + 60, static_cast<uint32_t>(kSectionFile));                             // headers
  Put16(b, opt + 68, 2);       // Windows GUI
  Put16(b, opt + 70, 0x8160);  // dynamic base, NX, terminal-server aware, high entropy
  Put32(b, opt + 72, 0x100000);
  Put32(b, opt + 80, 0x1000);
  Put32(b, opt + 88, 0x100000);
  Put32(b, opt + 96, 0x1000);
  Put32(b, opt + 108, 16);
  Put32(b, opt + 112 + 16, kSectionRva);
  Put32(b, opt + 112 + 20, static_cast<uint32_t>(sec.size()));
  const size_t sh = opt + 240;
  std::memcpy(&b[sh], ".rsrc", 5);
  Put32(b, sh + 8, static_cast<uint32_t>(sec.size()));
  Put32(b, sh + 12, kSectionRva);
  Put32(b, sh + 16, static_cast<uint32_t>(raw_size));
  Put32(b, sh + 20, static_cast<uint32_t>(kSectionFile));
  Put32(b, sh + 36, 0x40000040);  // initialised data, readable
  std::memcpy(&b[kSectionFile], sec.data(), sec.size());
  return b;
}

}  // namespace orvo::tools
