// A send that a signal interrupts returns what it had sent so far: the channel must go on from
// there, and a signal before anything went out must not end the send.

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>

#include <string>
#include <thread>

#include "channel_harness.h"
#include "channels/tcp_channel.h"
#include "loopback_peer.h"

namespace gage {
namespace {

TEST(TcpSendPosixTest, AnInterruptedSendGoesOnFromWhereItStopped) {
    struct sigaction interrupting {};
    struct sigaction previous {};
    interrupting.sa_handler = [](int) {};  // no SA_RESTART: blocked calls return early
    ASSERT_EQ(::sigaction(SIGUSR1, &interrupting, &previous), 0);
    test::ChannelHarness harness;
    test::LoopbackPeer peer;
    ConnectionRecord record;
    ASSERT_TRUE(peer.Connect(harness.context, record));

    // Far more than the socket buffers hold, so the sender blocks again and again.
    std::string payload(8 << 20, '\0');
    for (std::size_t i = 0; i < payload.size(); ++i) {
        payload[i] = static_cast<char>(i * 7 + (i >> 12));
    }
    const pthread_t sender = ::pthread_self();
    std::string got;
    std::thread reader([&] {
        for (std::string some = "-"; !some.empty() && got.size() < payload.size(); got += some) {
            ::pthread_kill(sender, SIGUSR1);
            some = peer.Receive(std::min<std::size_t>(65536, payload.size() - got.size()));
        }
    });
    EXPECT_EQ(
        TcpSend(harness.context, record, reinterpret_cast<const std::uint8_t*>(payload.data()),
                static_cast<int>(payload.size())),
        1);
    reader.join();
    ::sigaction(SIGUSR1, &previous, nullptr);
    EXPECT_TRUE(got == payload) << got.size();
    EXPECT_TRUE(harness.LogTexts().empty());
    TcpClose(record);
}

}  // namespace
}  // namespace gage
