#include "protocol/Disconnect.h"

#include <gtest/gtest.h>

#include "common/Texts.h"
#include "support/SimLink.h"
#include "protocol/ConnectFlow.h"

namespace kavro {
namespace {

using test::Recorded;

using DisconnectOnSim = test::ConnectedToSim;

TEST_F(DisconnectOnSim, SaysGoodbyeAndClosesOnce) {
  std::vector<int> statuses;
  bool stopped = false;
  auto report = [&statuses](int id) { statuses.push_back(id); };
  EXPECT_TRUE(Disconnect(link_, device_, [&] { stopped = true; }, report));
  EXPECT_TRUE(stopped);
  EXPECT_FALSE(link_.Port().IsOpen());
  EXPECT_FALSE(link_.SessionActive());
  EXPECT_EQ(sim_->Received().back(), Recorded("$KAVRO580,2"));
  EXPECT_EQ(statuses, (std::vector<int>{txt::Disconnecting, txt::DeviceDisconnected}));
  const DeviceInfo d = device_.Snapshot();
  EXPECT_EQ(d.model, DeviceModel::None);
  EXPECT_TRUE(d.versionText.empty());
  EXPECT_FALSE(d.timeZoneValid);
  statuses.clear();
  Disconnect(link_, device_, {}, report);
  EXPECT_EQ(statuses, (std::vector<int>{txt::Disconnecting, txt::DeviceNotConnected}));
}

}  // namespace
}  // namespace kavro
