#include "protocol/WriteName.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/SimLink.h"
#include "protocol/ConnectFlow.h"

namespace kavro {
namespace {

using test::Recorded;

using WriteNameOnSim = test::ConnectedToSim;

TEST_F(WriteNameOnSim, ChecksBeforeSending) {
  sim_->ClearReceived();
  EXPECT_EQ(WriteName(link_, device_, "Bad Name"), WriteNameOutcome::Forbidden);
  EXPECT_EQ(WriteName(link_, device_, "a|b"), WriteNameOutcome::Forbidden);
  EXPECT_EQ(WriteName(link_, device_, "Gr\xc3\xbc\xc3\x9f" "e"), WriteNameOutcome::NotAscii);
  EXPECT_EQ(WriteName(link_, device_, "tab\there"), WriteNameOutcome::NotAscii);
  EXPECT_TRUE(sim_->Received().empty());
  EXPECT_EQ(WriteName(link_, device_, "ABCDEFGHIJKLMNOP"), WriteNameOutcome::Sent);
  // The name goes out without an answer: wait (bounded) for the simulator to take it in.
  EXPECT_EQ(test::AwaitCount(*sim_, "$KAVRO580,4,", 1), 1);
  EXPECT_EQ(sim_->Received(), (std::vector<std::string>{Recorded("$KAVRO580,4,ABCDEFGHIJKLMNOP")}));
  for (int i = 0; i < 500 && sim_->UserName() != "ABCDEFGHIJKLMNOP"; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(sim_->UserName(), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(device_.Snapshot().userName, "ABCDEFGHIJKLMNOP");
}

TEST(WriteName, NothingIsSentWhileNotConnected) {
  Link link;
  DeviceState device;
  EXPECT_EQ(WriteName(link, device, "Bad Name"), WriteNameOutcome::NotConnected);
  EXPECT_EQ(device.Snapshot().userName, "Bad Name");  // the field's text is kept all the same
  EXPECT_EQ(CheckUserName("ABCDEFGHIJKLMNOPQ"), WriteNameOutcome::TooLong);
  EXPECT_EQ(CheckUserName("~!@#$%^&()_+-=[]"), WriteNameOutcome::Sent);
}

}  // namespace
}  // namespace kavro
