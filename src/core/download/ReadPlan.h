#pragma once
// Which sectors a download reads from the logger and which it takes from the kept copy, and
// what it compares first to prove that the kept part is still what the logger holds.

#include <cstdint>
#include <optional>
#include <vector>

#include "download/KeptCopy.h"
#include "protocol/DeviceInfo.h"

namespace kavro {

// Why the whole memory is read although a kept copy was there.
enum class FullReason {
  None,     // no kept copy, the user asked for all, or nothing to gain
  Changed,  // the write position went back (an erase) or a comparison failed
  Wrapped,  // the log wrapped: old sectors get overwritten
  Damaged,  // the kept file failed its checks
};

struct ReadPlan {
  std::uint32_t downloadSize = 0;
  std::uint32_t sectorCount = 0;  // sectors below downloadSize
  std::uint32_t fromKept = 0;     // bit s: sector s is taken from the kept copy
  // Chunks (memory::kDataChunk bytes) read and compared before anything else: the first and
  // the last chunk of each run of kept sectors.
  std::vector<std::uint32_t> proofs;
  // The kept bytes from here up to the old write position lie in the first sector read again:
  // once it arrived they are compared too.
  std::optional<std::uint32_t> overlapFrom;
  std::uint32_t overlapTo = 0;
  FullReason reason = FullReason::None;

  bool FromKept(std::uint32_t sector) const { return (fromKept >> sector & 1u) != 0; }
  int KeptSectors() const;
  // The plan after a failed comparison: everything read from the logger.
  void ReadAll(FullReason why);
};

// kept: the loaded copy (null when there is none, or when `load` says it was damaged).
ReadPlan PlanRead(const DeviceInfo& now, const KeptCopy* kept, KeptLoad load);

}  // namespace kavro
