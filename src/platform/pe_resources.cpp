// PE parsing just deep enough to reach the resource tree:
//
//   DOS header ("MZ", e_lfanew at 0x3C) -> "PE\0\0" -> COFF header (20 bytes)
//   -> optional header (PE32 or PE32+; data directory 2 = resources) -> section table
//   -> resource tree: type / name / language directories -> data entry (RVA, size)
#include "platform/pe_resources.h"

namespace orvo::os {
namespace {

class Reader {
 public:
  explicit Reader(std::string_view bytes) : b_(bytes) {}
  bool Has(uint64_t off, uint64_t len) const { return off <= b_.size() && len <= b_.size() - off; }
  uint16_t U16(uint64_t off) const {
    return static_cast<uint16_t>(Byte(off) | (Byte(off + 1) << 8));
  }
  uint32_t U32(uint64_t off) const {
    return static_cast<uint32_t>(U16(off)) | (static_cast<uint32_t>(U16(off + 2)) << 16);
  }

 private:
  uint8_t Byte(uint64_t off) const { return off < b_.size() ? static_cast<uint8_t>(b_[off]) : 0; }
  std::string_view b_;
};

struct Section {
  uint32_t vsize, va, raw_size, raw_ptr;  // section table order
};

struct Image {
  const Reader& r;
  uint64_t table = 0;
  uint16_t sections = 0;
  uint64_t root = 0;

  std::optional<uint64_t> ToOffset(uint32_t rva, uint32_t len) const {
    for (uint16_t i = 0; i < sections; ++i) {
      const uint64_t s = table + uint64_t(i) * 40;
      const Section sec{r.U32(s + 8), r.U32(s + 12), r.U32(s + 16), r.U32(s + 20)};
      const uint32_t span = sec.vsize > sec.raw_size ? sec.vsize : sec.raw_size;
      if (rva >= sec.va && uint64_t(rva) + len <= uint64_t(sec.va) + span) {
        const uint64_t off = uint64_t(sec.raw_ptr) + (rva - sec.va);
        if (uint64_t(rva - sec.va) + len > sec.raw_size || !r.Has(off, len)) return std::nullopt;
        return off;
      }
    }
    return std::nullopt;
  }

  // One directory level: the entry with `id`, or the nth entry; sets is_dir.
  std::optional<uint64_t> Step(uint64_t dir, std::optional<uint32_t> id, size_t nth,
                               bool* is_dir) const {
    if (!r.Has(dir, 16)) return std::nullopt;
    const uint32_t entries = uint32_t(r.U16(dir + 12)) + r.U16(dir + 14);
    if (!r.Has(dir + 16, uint64_t(entries) * 8)) return std::nullopt;
    size_t seen = 0;
    for (uint32_t i = 0; i < entries; ++i) {
      const uint64_t e = dir + 16 + uint64_t(i) * 8;
      const uint32_t name = r.U32(e);
      if (id ? ((name & 0x80000000u) || name != *id) : seen++ != nth) continue;
      const uint32_t target = r.U32(e + 4);
      *is_dir = (target & 0x80000000u) != 0;
      return root + (target & 0x7FFFFFFFu);
    }
    return std::nullopt;
  }
};

}  // namespace

std::optional<std::string_view> PeResourceData(std::string_view bytes, uint32_t type,
                                               std::optional<uint32_t> id, size_t nth) {
  const Reader r(bytes);
  if (!r.Has(0, 64) || r.U16(0) != 0x5A4D) return std::nullopt;  // "MZ"
  const uint64_t pe = r.U32(0x3C);
  if (!r.Has(pe, 24) || r.U32(pe) != 0x00004550) return std::nullopt;  // "PE\0\0"
  const uint64_t coff = pe + 4;
  const uint16_t opt_size = r.U16(coff + 16);
  const uint64_t opt = coff + 20;
  if (!r.Has(opt, opt_size) || opt_size < 2) return std::nullopt;
  uint64_t count_off = 0;
  uint64_t dirs = 0;
  const uint16_t magic = r.U16(opt);
  if (magic == 0x10B) {
    count_off = opt + 92;
    dirs = opt + 96;
  } else if (magic == 0x20B) {
    count_off = opt + 108;
    dirs = opt + 112;
  } else {
    return std::nullopt;
  }
  if (dirs + 24 > opt + opt_size || r.U32(count_off) < 3) return std::nullopt;
  const uint32_t rsrc_rva = r.U32(dirs + 16);
  if (rsrc_rva == 0) return std::nullopt;

  Image image{r, opt + opt_size, r.U16(coff + 2), 0};
  if (!r.Has(image.table, uint64_t(image.sections) * 40)) return std::nullopt;
  const auto root = image.ToOffset(rsrc_rva, 16);
  if (!root) return std::nullopt;
  image.root = *root;

  bool is_dir = false;
  auto level = image.Step(*root, type, 0, &is_dir);
  if (!level || !is_dir) return std::nullopt;
  level = image.Step(*level, id, id ? 0 : nth, &is_dir);
  if (!level || !is_dir) return std::nullopt;
  level = image.Step(*level, std::nullopt, 0, &is_dir);
  if (!level || is_dir || !r.Has(*level, 16)) return std::nullopt;
  const uint32_t data_rva = r.U32(*level);
  const uint32_t data_size = r.U32(*level + 4);
  const auto data = image.ToOffset(data_rva, data_size);
  if (!data) return std::nullopt;
  return bytes.substr(*data, data_size);
}

}  // namespace orvo::os
