#include "download/ReadPlan.h"

#include <bit>

#include "download/LogDownload.h"

namespace kavro {

int ReadPlan::KeptSectors() const { return std::popcount(fromKept); }

void ReadPlan::ReadAll(FullReason why) {
  fromKept = 0;
  proofs.clear();
  overlapFrom.reset();
  reason = why;
}

namespace {

// The first and last chunk of each run of kept sectors.
std::vector<std::uint32_t> ProofChunks(const ReadPlan& plan) {
  std::vector<std::uint32_t> chunks;
  for (std::uint32_t s = 0; s < plan.sectorCount; ++s) {
    if (!plan.FromKept(s) || (s > 0 && plan.FromKept(s - 1))) continue;
    std::uint32_t end = s;
    while (end + 1 < plan.sectorCount && plan.FromKept(end + 1)) ++end;
    chunks.push_back(s * memory::kSectorSize);
    chunks.push_back((end + 1) * memory::kSectorSize - memory::kDataChunk);
  }
  return chunks;
}

}  // namespace

ReadPlan PlanRead(const DeviceInfo& now, const KeptCopy* kept, KeptLoad load) {
  ReadPlan plan;
  plan.downloadSize = DownloadSize(now.logUsedSize, now.logWrapped);
  plan.sectorCount = (plan.downloadSize + memory::kSectorSize - 1) / memory::kSectorSize;
  if (!kept) {
    plan.reason = load == KeptLoad::Damaged ? FullReason::Damaged : FullReason::None;
    return plan;
  }
  if (now.logWrapped == 1 || kept->wrapped == 1) {
    plan.reason = FullReason::Wrapped;
    return plan;
  }
  // Position 0 is an erased (or never used) log; a smaller one than before, an erase since.
  if (now.logUsedSize < kept->writePosition || (now.logUsedSize == 0 && kept->writePosition > 0)) {
    plan.reason = FullReason::Changed;
    return plan;
  }
  // Sectors below the one that held the old write position were full then and the logger only
  // appends: those the copy holds can be taken.
  const std::uint32_t oldSector = kept->writePosition / memory::kSectorSize;
  for (std::uint32_t s = 0; s < plan.sectorCount && s < oldSector; ++s)
    if (kept->Has(s)) plan.fromKept |= 1u << s;
  plan.proofs = ProofChunks(plan);
  if (oldSector < plan.sectorCount && kept->Has(oldSector) && kept->writePosition % memory::kSectorSize != 0) {
    plan.overlapFrom = oldSector * memory::kSectorSize;
    plan.overlapTo = kept->writePosition;
  }
  return plan;
}

}  // namespace kavro
