// The kept copy's file and the plan made from it: what is taken, what is proved first, and
// when the whole memory is read again.
#include "download/KeptCopy.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "download/LoggerIdentity.h"
#include "download/ReadPlan.h"
#include "protocol/Sentence.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;

KeptCopy Sample(std::uint32_t position, std::uint32_t held) {
  KeptCopy c;
  c.key = "bt-0012AB345678";
  c.writePosition = position;
  c.held = held;
  for (std::size_t i = 0; i < c.image.size(); ++i) c.image[i] = static_cast<std::uint8_t>(i * 7 + (i >> 11));
  return c;
}

DeviceInfo Logger(std::uint32_t position, int wrapped = 0) {
  DeviceInfo d;
  d.logUsedSize = position;
  d.logWrapped = wrapped;
  return d;
}

TEST(KeptCopyFile, RoundTripsTheHeldSectorsOnly) {
  const KeptCopy c = Sample(0x34567, 0b1011);
  const std::string bytes = SerializeKeptCopy(c);
  KeptCopy back;
  ASSERT_EQ(ParseKeptCopy(bytes, c.key, back), KeptLoad::Loaded);
  EXPECT_EQ(back.writePosition, 0x34567u);
  EXPECT_EQ(back.held, 0b1011u);
  for (std::uint32_t s : {0u, 1u, 3u})
    EXPECT_TRUE(std::equal(c.Sector(s), c.Sector(s) + memory::kSectorSize, back.Sector(s))) << s;
  // A sector not held is not in the file.
  EXPECT_LT(bytes.size(), 4u * memory::kSectorSize);
}

TEST(KeptCopyFile, TruncatedFlippedLongOrForeignFilesAreDamaged) {
  const KeptCopy c = Sample(0x34567, 0b111);
  const std::string bytes = SerializeKeptCopy(c);
  KeptCopy out;
  EXPECT_EQ(ParseKeptCopy(bytes.substr(0, bytes.size() - 1), c.key, out), KeptLoad::Damaged);
  EXPECT_EQ(ParseKeptCopy(bytes.substr(0, 100), c.key, out), KeptLoad::Damaged);
  EXPECT_EQ(ParseKeptCopy(bytes + "x", c.key, out), KeptLoad::Damaged);
  EXPECT_EQ(ParseKeptCopy(bytes, "bt-001B0C0A2F9E", out), KeptLoad::Damaged);
  // One flipped bit anywhere: the header's or a sector's checksum fails.
  for (std::size_t at : {std::size_t{9}, std::size_t{60}, bytes.size() / 2, bytes.size() - 1}) {
    std::string bad = bytes;
    bad[at] = static_cast<char>(bad[at] ^ 0x10);
    EXPECT_EQ(ParseKeptCopy(bad, c.key, out), KeptLoad::Damaged) << at;
  }
}

TEST(KeptCopyFile, StoreSavesWholeAndDrops) {
  const fs::path dir = fs::temp_directory_path() / ("kavro-kept-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  const KeptCopyStore store(dir / "deep" / "er");
  KeptCopy out;
  EXPECT_EQ(store.Load("bt-0012AB345678", out), KeptLoad::Missing);
  const KeptCopy c = Sample(0x20010, 0b11);
  ASSERT_TRUE(store.Save(c));
  EXPECT_EQ(store.Load(c.key, out), KeptLoad::Loaded);
  // Nothing but the one file: no temporary file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "deep" / "er"), fs::directory_iterator()), 1);
  // A key that is no plain name is never used as a path.
  KeptCopy odd = c;
  odd.key = "../escape";
  EXPECT_FALSE(store.Save(odd));
  store.Drop(c.key);
  EXPECT_EQ(store.Load(c.key, out), KeptLoad::Missing);
  fs::remove_all(dir);
}

TEST(LoggerKey, BluetoothAddressFirstThenUserName) {
  EXPECT_EQ((LoggerIdentity{"0012AB345678", "Logger1"}).Key(), "bt-0012AB345678");
  EXPECT_EQ((LoggerIdentity{"", "Ab-1"}).Key(), "name-41622D31");
  EXPECT_EQ((LoggerIdentity{"", ""}).Key(), "name-");
  const std::string reply = AppendChecksum("$PMTK592,0012ab345678");
  EXPECT_EQ(BtAddressOfReply(reply.substr(0, reply.size() - 2)), "0012AB345678");
  const std::string extraComma = AppendChecksum("$PMTK592,,0012AB345678");
  EXPECT_EQ(BtAddressOfReply(extraComma.substr(0, extraComma.size() - 2)), "0012AB345678");
  const std::string blank = AppendChecksum("$PMTK592,FFFFFFFFFFFF");
  EXPECT_EQ(BtAddressOfReply(blank.substr(0, blank.size() - 2)), std::nullopt);
  std::string bad = reply.substr(0, reply.size() - 2);
  bad[10] = '9';
  EXPECT_EQ(BtAddressOfReply(bad), std::nullopt);
}

TEST(ReadPlanning, TakesTheFullSectorsBelowTheOldPositionAndProvesTheirEnds) {
  const KeptCopy kept = Sample(0x34567, 0b1111);
  const ReadPlan p = PlanRead(Logger(0x52000), &kept, KeptLoad::Loaded);
  EXPECT_EQ(p.reason, FullReason::None);
  EXPECT_EQ(p.sectorCount, 6u);
  EXPECT_EQ(p.fromKept, 0b111u);  // sector 3 held the old position: read again
  EXPECT_EQ(p.proofs, (std::vector<std::uint32_t>{0, 0x2F800}));
  ASSERT_TRUE(p.overlapFrom.has_value());
  EXPECT_EQ(*p.overlapFrom, 0x30000u);
  EXPECT_EQ(p.overlapTo, 0x34567u);
}

TEST(ReadPlanning, AResumeTakesOnlyTheSectorsThatCameAndProvesEachRun) {
  // Sectors 0, 1 and 4 arrived whole before the unplug.
  const KeptCopy kept = Sample(0x1F0000, 0b10011);
  const ReadPlan p = PlanRead(Logger(0x1F0000), &kept, KeptLoad::Loaded);
  EXPECT_EQ(p.fromKept, 0b10011u);
  EXPECT_EQ(p.proofs, (std::vector<std::uint32_t>{0, 0x1F800, 0x40000, 0x4F800}));
  EXPECT_FALSE(p.overlapFrom.has_value());  // the copy does not hold sector 31
}

TEST(ReadPlanning, EveryReasonToReadItAll) {
  const KeptCopy kept = Sample(0x34567, 0b1111);
  EXPECT_EQ(PlanRead(Logger(0x30000), &kept, KeptLoad::Loaded).reason, FullReason::Changed);  // went back
  EXPECT_EQ(PlanRead(Logger(0), &kept, KeptLoad::Loaded).reason, FullReason::Changed);        // erased
  EXPECT_EQ(PlanRead(Logger(0x52000, 1), &kept, KeptLoad::Loaded).reason, FullReason::Wrapped);
  EXPECT_EQ(PlanRead(Logger(0x52000), nullptr, KeptLoad::Damaged).reason, FullReason::Damaged);
  const ReadPlan none = PlanRead(Logger(0x52000), nullptr, KeptLoad::Missing);
  EXPECT_EQ(none.reason, FullReason::None);
  EXPECT_EQ(none.fromKept, 0u);
  EXPECT_TRUE(none.proofs.empty());
  for (const ReadPlan& p : {PlanRead(Logger(0x30000), &kept, KeptLoad::Loaded), PlanRead(Logger(0x52000, 1), &kept, KeptLoad::Loaded)}) {
    EXPECT_EQ(p.fromKept, 0u);
    EXPECT_TRUE(p.proofs.empty());
  }
  // Within the same sector as before: nothing is kept, only that sector is read.
  const KeptCopy small = Sample(0x0800, 0b1);
  const ReadPlan same = PlanRead(Logger(0x0900), &small, KeptLoad::Loaded);
  EXPECT_EQ(same.fromKept, 0u);
  EXPECT_EQ(same.sectorCount, 1u);
}

}  // namespace
}  // namespace kavro
