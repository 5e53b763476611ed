// The receive routine against sentrel-sim: what it stores, what it drops, its
// progress display and a connection that the logger closes.
#include "device/link.h"

#include "app/ids.h"
#include "app/state.h"
#include "device/fixture.h"
#include "device/protocol.h"
#include "platform/socket.h"
#include "platform/window.h"
#include "support/seam.h"
#include "support/simulator.h"

#include <algorithm>
#include <cstring>

using namespace device;
namespace t = platform::testing;

namespace {

class LinkTest : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        app::resetState();
        startLink();
        ASSERT_TRUE(platform::startSockets());
    }

    // Connects to `sim` and exchanges a query; the reply's decoding.
    QueryReply query(const Simulator& sim)
    {
        EXPECT_TRUE(connectDevice(addressOf(sim.address())));
        sendCommand(queryCommand);
        EXPECT_EQ(receiveReply(queryReplySize), queryReplySize);
        copyReplyBlock(queryReplySize);
        EXPECT_EQ(linkState().receiveReadPos, queryReplySize);
        return decodeQuery(linkState().replyBytes);
    }
};

} // namespace

TEST_F(LinkTest, StartsEmptyAndReceivesNothingForNothingExpected)
{
    EXPECT_EQ(linkState().deviceConnection, platform::noSocket);
    ASSERT_EQ(linkState().receiveBuffer.size(), 300000u);
    EXPECT_EQ(linkState().receiveBuffer[0], 0);
    EXPECT_EQ(linkState().receiveBuffer[299999], 0);
    EXPECT_EQ(receiveReply(0), 0);
    EXPECT_EQ(receiveReply(-5), 0);
    EXPECT_EQ(linkState().receivedBytes, 0);
    EXPECT_TRUE(t::messages().empty());
}

TEST_F(LinkTest, StoresWhatWasAskedAndDropsTheRest)
{
    // 30 bytes announced, 300,030 sent: more than the whole buffer holds.
    Simulator sim({"--samples", "10", "--ramp", "--extra", "300000"});
    ASSERT_TRUE(sim.started());
    QueryReply reply = query(sim);
    EXPECT_EQ(reply.status, ReplyStatus::Ok);
    EXPECT_EQ(reply.sampleCount, 10);

    std::memset(linkState().receiveBuffer.data(), 0xEE, linkState().receiveBuffer.size());
    sendCommand(dumpCommand);
    ASSERT_EQ(receiveReply(30), 30);
    EXPECT_EQ(linkState().receivedBytes, 30);
    EXPECT_EQ(linkState().receiveReadPos, 0);
    // Nothing of the bytes after the dump lands behind it.
    ASSERT_EQ(linkState().receiveBuffer.size(), 300000u);
    for (int i = 30; i < receiveBufferSize; ++i)
        ASSERT_EQ(linkState().receiveBuffer[static_cast<size_t>(i)], 0xEE) << "byte " << i;
    copyReplyBlock(sampleSize);
    EXPECT_EQ(decodeSample(linkState().replyBytes).humidity, 300);
    copyReplyBlock(sampleSize);
    EXPECT_EQ(decodeSample(linkState().replyBytes).temperature, -99);
    EXPECT_EQ(linkState().receiveReadPos, 6);
    EXPECT_TRUE(sim.sawLine("dump 1"));
    EXPECT_TRUE(t::messages().empty());
}

TEST_F(LinkTest, ShortReplyEndsAfterTwoSecondsOfSilenceTellingItsProgress)
{
    Simulator sim({"--samples", "300", "--short-dump", "500"});
    ASSERT_TRUE(sim.started());
    query(sim);

    sendCommand(dumpCommand);
    std::vector<int> told;
    EXPECT_EQ(receiveReply(900, [&](int percent) { told.push_back(percent); }), 500);
    EXPECT_EQ(linkState().receivedBytes, 500);
    EXPECT_EQ(linkState().receiveReadPos, 0);
    // Silence is not a closed connection.
    EXPECT_FALSE(linkState().closedByDevice);
    EXPECT_EQ(app::state().closeRequested, 0);
    // Every 11th poll of 50 ms, through the 2 s of silence: the last ones all 55 %.
    ASSERT_GE(told.size(), 3u);
    EXPECT_EQ(told.back(), 55);
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_TRUE(t::messages().empty());
}

TEST_F(LinkTest, ConnectionClosedByTheLoggerEndsTheReceiveAndIsToldToTheCaller)
{
    Simulator sim({"--samples", "30", "--close-after-query"});
    ASSERT_TRUE(sim.started());
    EXPECT_EQ(query(sim).status, ReplyStatus::Ok);
    ASSERT_TRUE(sim.sawLine("hung up 1"));

    sendCommand(dumpCommand);
    EXPECT_EQ(receiveReply(90), 0);
    EXPECT_TRUE(linkState().closedByDevice);
    // The link shows nothing and ends no window: its caller does.
    EXPECT_EQ(app::state().closeRequested, 0);
    EXPECT_TRUE(t::messages().empty());

    // Sending again on the dead connection must not end the program (no SIGPIPE).
    for (int i = 0; i < 3; ++i)
        sendCommand(queryCommand);
    EXPECT_EQ(receiveReply(queryReplySize), 0);
    EXPECT_TRUE(linkState().closedByDevice);

    // The next connect closes the dead one and starts afresh.
    EXPECT_EQ(query(sim).status, ReplyStatus::Ok);
    EXPECT_FALSE(linkState().closedByDevice);
    EXPECT_TRUE(sim.sawLine("connection 2"));
}

TEST_F(LinkTest, ConnectFailsWhereNobodyListens)
{
    EXPECT_FALSE(connectDevice(addressOf(Simulator::unusedAddress())));
    EXPECT_EQ(linkState().deviceConnection, platform::noSocket);
}
