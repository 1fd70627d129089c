// The Bluetooth address: the reply, the saved text, the write-back sentence, the settings
// store, and both steps against the simulated logger.
#include <QSettings>
#include <QStringList>

#include "FirmwareTestSupport.h"
#include "Simulator.h"
#include "firmware/BtAddress.h"
#include "protocol/Sentence.h"

namespace kavro {
namespace {

const ::testing::Environment* const kSandbox = ::testing::AddGlobalTestEnvironment(new test::SettingsSandbox);

const BtAddress kSample{0x00, 0x12, 0xAB, 0x34, 0x56, 0x78};

void ClearSaved() {
  QSettings s(QStringLiteral("Kavro"), QStringLiteral("T580"));
  s.remove(QLatin1String(BtAddressStore::kValueName));
  s.sync();
}

TEST(BtAddressText, ReplySavedTextAndWriteBack) {
  const auto a = ParseBtAddressReply(AppendChecksum("$PMTK592,0012AB345678"));
  ASSERT_TRUE(a);
  EXPECT_EQ(*a, kSample);
  EXPECT_EQ(SavedBtText(*a), "78:56:34:AB:12:00");
  EXPECT_EQ(ParseSavedBtText("78:56:34:AB:12:00"), kSample);
  EXPECT_EQ(BtSetSentence(*a), AppendChecksum("$PMTK392,0012AB,345678"));
  EXPECT_EQ(BtSetSentence(kNoBtAddress), AppendChecksum("$PMTK392,FFFFFF,FFFFFF"));
}

TEST(BtAddressText, ReplyForms) {
  // An extra comma, lower-case digits, noise before the reply.
  EXPECT_EQ(ParseBtAddressReply(AppendChecksum("$PMTK592,,0012AB345678")), kSample);
  EXPECT_EQ(ParseBtAddressReply(AppendChecksum("$PMTK592,0012ab345678")), kSample);
  EXPECT_EQ(ParseBtAddressReply("garbage\r\n" + AppendChecksum("$PMTK592,0012AB345678")), kSample);
  // Unfinished, damaged, short or not hex: no address.
  std::string full = AppendChecksum("$PMTK592,0012AB345678");
  EXPECT_FALSE(ParseBtAddressReply(full.substr(0, full.size() - 3)));
  std::string damaged = full;
  damaged[12] = '9';
  EXPECT_FALSE(ParseBtAddressReply(damaged));
  EXPECT_FALSE(ParseBtAddressReply(AppendChecksum("$PMTK592,0012AB3456")));
  EXPECT_FALSE(ParseBtAddressReply(AppendChecksum("$PMTK592,0012AB34567Z")));
  EXPECT_FALSE(ParseBtAddressReply(AppendChecksum("$PMTK5920012AB345678")));
  // A damaged first reply does not hide a good later one.
  EXPECT_EQ(ParseBtAddressReply(damaged + full), kSample);
  EXPECT_FALSE(ParseSavedBtText("78:56:34:AB:12"));
  EXPECT_FALSE(ParseSavedBtText("78:56:34:AB:12:ZZ"));
}

TEST(BtAddressStoreTest, TextOnlyCountsAsSaved) {
  BtAddressStore store;
  ClearSaved();
  EXPECT_FALSE(store.Load());
  ASSERT_TRUE(store.Save("78:56:34:AB:12:00"));
  EXPECT_EQ(store.Load(), "78:56:34:AB:12:00");
  {
    QSettings s(QStringLiteral("Kavro"), QStringLiteral("T580"));
    EXPECT_TRUE(s.fileName().startsWith(QString::fromLocal8Bit(std::getenv("XDG_CONFIG_HOME")))) << s.fileName().toStdString();
    s.setValue(QLatin1String(BtAddressStore::kValueName), QStringList{QStringLiteral("78"), QStringLiteral("56")});
    s.sync();
  }
  EXPECT_FALSE(store.Load());
  {
    QSettings s(QStringLiteral("Kavro"), QStringLiteral("T580"));
    s.setValue(QLatin1String(BtAddressStore::kValueName), QByteArray("78:56:34:AB:12:00"));
    s.sync();
  }
  EXPECT_FALSE(store.Load());
  ASSERT_TRUE(store.Save(""));
  EXPECT_FALSE(store.Load());
  ClearSaved();
}

std::unique_ptr<sim::Simulator> StartSim(sim::SimulatorOptions options = {}) {
  auto s = std::make_unique<sim::Simulator>(*sim::ScenarioByName("demo"), std::move(options));
  std::string error;
  if (!s->Start(&error)) {
    ADD_FAILURE() << error;
    return nullptr;
  }
  return s;
}

TEST(BtAddressSteps, ReadSavesAndWriteBackReachesTheLogger) {
  ClearSaved();
  auto sim = StartSim();
  ASSERT_TRUE(sim);
  const BtTiming timing = test::QuickFirmwareTiming().bt;
  BtAddressStore store;
  const BtReadResult r = ReadBtAddress(sim->SlavePath(), 38400, store, timing);
  EXPECT_TRUE(r.portOpened);
  EXPECT_EQ(r.source, BtSource::Logger);
  EXPECT_EQ(r.address, kSample);
  EXPECT_EQ(store.Load(), "78:56:34:AB:12:00");

  const BtAddress other{0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
  EXPECT_TRUE(WriteBtAddress(sim->SlavePath(), 38400, other, timing));
  EXPECT_EQ(sim->State().btAddress, other);
  EXPECT_TRUE(sim->WaitForReceived("$PMTK392,010203,040506*", std::chrono::seconds(5)));
  ClearSaved();
}

TEST(BtAddressSteps, PortThatCannotBeOpened) {
  BtAddressStore store;
  const BtReadResult r = ReadBtAddress("/dev/kavro-no-such-port", 38400, store, test::QuickFirmwareTiming().bt);
  EXPECT_FALSE(r.portOpened);
  EXPECT_FALSE(WriteBtAddress("/dev/kavro-no-such-port", 38400, kSample, test::QuickFirmwareTiming().bt));
}

}  // namespace
}  // namespace kavro
