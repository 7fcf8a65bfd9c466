#include "image/profile_file.h"

#include <algorithm>

#include "image/checksum.h"
#include "image/image_split.h"
#include "image/regions.h"

namespace vrdk::image {
namespace {

ProfileFileProblem Problem(ProfileFileProblem::Kind kind, std::size_t detail = 0) {
  ProfileFileProblem problem;
  problem.kind = kind;
  problem.detail = detail;
  return problem;
}

}  // namespace

std::vector<ProfileFileProblem> CheckProfileFile(std::span<const std::uint8_t> bytes,
                                                 const ProfileFileRules& rules) {
  using Kind = ProfileFileProblem::Kind;
  std::vector<ProfileFileProblem> problems;
  const bool i2c = rules.type == MemoryType::kI2C;
  if (bytes.size() != MemorySize(rules.type)) {
    problems.push_back(Problem(Kind::kSize, bytes.size()));
    return problems;
  }
  const std::size_t marker = i2c ? i2c::kMemoryTypeMarker : flash::kMemoryTypeMarker;
  if (bytes[marker] != (i2c ? kI2CMarker : kFlashMarker)) {
    problems.push_back(Problem(Kind::kMarker));
    return problems;
  }
  ProfileFileProblem sections = Problem(Kind::kSections);
  for (const Region& region : MemoryRegions(rules.type)) {
    if (region.checked && !RegionSound(region, bytes)) sections.sections.push_back(*region.checked);
  }
  if (!sections.sections.empty()) problems.push_back(std::move(sections));
  if (i2c) {
    std::array<std::uint8_t, kPatchHeaderSize> header{};
    std::copy_n(bytes.begin() + i2c::kPatchHeader, header.size(), header.begin());
    const auto length = static_cast<std::size_t>(PatchLengthOf(header));
    if (length > kPatchCodeSize) problems.push_back(Problem(Kind::kPatchLength, length));
  }
  const std::size_t fire = i2c ? i2c::kFire : flash::kFire;
  const std::array<std::uint8_t, 2> codes{bytes[fire], bytes[fire + 1]};
  bool accepted = false;
  for (const auto& pair : rules.accepted_codes) {
    accepted = accepted || (pair[0] == codes[0] && pair[1] == codes[1]);
  }
  if (!accepted) {
    ProfileFileProblem problem = Problem(Kind::kCustomerCodes);
    problem.codes = codes;
    problems.push_back(problem);
  }
  const auto vendor_id = static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
  const auto product_id = static_cast<std::uint16_t>(bytes[2] << 8 | bytes[3]);
  if (vendor_id != rules.vendor_id || product_id != rules.product_id) {
    ProfileFileProblem problem = Problem(Kind::kUsbIds);
    problem.vendor_id = vendor_id;
    problem.product_id = product_id;
    problems.push_back(problem);
  }
  return problems;
}

}  // namespace vrdk::image
