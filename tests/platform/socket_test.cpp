// Tests of the TCP client against listeners on 127.0.0.1 that the tests open
// themselves, each on a port the kernel picks. The peer side uses the system's
// socket calls directly, Winsock on Windows.
#include "platform/clock.h"
#include "platform/socket.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <cstring>
#include <string>

using platform::PollResult;

namespace {

// ---------------------------------------------------------------------------
// The peer side's socket calls where Winsock and POSIX differ
// ---------------------------------------------------------------------------
#ifdef _WIN32
using PeerSocket = SOCKET;
const PeerSocket noPeer = INVALID_SOCKET;

void closePeer(PeerSocket s)
{
    closesocket(s);
}

// Winsock counts its starts, so the peer side stays usable when the tests stop
// the program's sockets layer.
struct PeerSockets {
    PeerSockets()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~PeerSockets() { WSACleanup(); }
};

// Something else that now holds the number `handle` had: Windows hands a freed
// handle value to the next one opened.
PeerSocket takeOverNumber(int)
{
    return socket(AF_INET, SOCK_STREAM, 0);
}

bool stillOpen(PeerSocket s)
{
    int type = 0;
    int length = sizeof type;
    return getsockopt(s, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &length) == 0;
}
#else
using PeerSocket = int;
constexpr PeerSocket noPeer = -1;

void closePeer(PeerSocket s)
{
    close(s);
}

struct PeerSockets {};

// Something else that now holds the descriptor number `handle` had.
PeerSocket takeOverNumber(int handle)
{
    int other = open("/dev/null", O_RDONLY);
    if (other < 0 || other == handle)
        return other;
    int reused = dup2(other, handle);
    close(other);
    return reused;
}

bool stillOpen(PeerSocket s)
{
    return fcntl(s, F_GETFD) != -1;
}
#endif

// A plain listening socket on 127.0.0.1; the peer side of each test.
class Listener {
public:
    explicit Listener(int backlog = 8)
    {
        fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 && listen(fd, backlog) == 0
            && getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            port = ntohs(address.sin_port);
    }
    ~Listener() { closePeer(fd); }

    // The connection the kernel completed from the backlog; blocks until there is one.
    PeerSocket accept() { return ::accept(fd, nullptr, nullptr); }

    PeerSockets system;
    PeerSocket fd;
    int port = 0;
};

// Polls until the answer is no longer Nothing, for a few seconds at most, since
// loopback delivery need not be finished the moment the peer's send returns.
PollResult pollUntilSomething(int socket)
{
    int64_t giveUp = platform::milliseconds() + 5000;
    PollResult result = platform::pollSocket(socket);
    while (result == PollResult::Nothing && platform::milliseconds() < giveUp) {
        platform::sleepMilliseconds(1);
        result = platform::pollSocket(socket);
    }
    return result;
}

// Sends single bytes until sendAll fails, for a few seconds at most.
bool sendFailsSoon(int socket)
{
    int64_t giveUp = platform::milliseconds() + 5000;
    while (platform::sendAll(socket, "x", 1)) {
        if (platform::milliseconds() > giveUp)
            return false;
        platform::sleepMilliseconds(1);
    }
    return true;
}

void sendText(PeerSocket fd, const std::string& text)
{
    ASSERT_EQ(send(fd, text.data(), text.size(), 0), static_cast<ssize_t>(text.size()));
}

// Receives exactly `size` bytes from the peer side, blocking.
std::string receiveText(PeerSocket fd, size_t size)
{
    std::string text(size, '\0');
    size_t done = 0;
    while (done < size) {
        ssize_t got = recv(fd, text.data() + done, size - done, 0);
        if (got <= 0)
            break;
        done += static_cast<size_t>(got);
    }
    text.resize(done);
    return text;
}

class SocketTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(platform::startSockets());
        ASSERT_NE(listener.port, 0);
    }
    void TearDown() override
    {
        if (peer != noPeer)
            closePeer(peer);
        platform::stopSockets();
    }

    // Connects to the listener and accepts the peer side.
    int connectToListener()
    {
        int handle = platform::connectTcp("127.0.0.1", listener.port, 2000);
        if (handle != platform::noSocket)
            peer = listener.accept();
        return handle;
    }

    Listener listener;
    PeerSocket peer = noPeer;
};

TEST_F(SocketTest, ExchangesDataBothWays)
{
    int handle = connectToListener();
    ASSERT_NE(handle, platform::noSocket);
    ASSERT_NE(peer, noPeer);

    std::string request(10000, 'r');
    request[0] = '\0';
    ASSERT_TRUE(platform::sendAll(handle, request.data(), request.size()));
    EXPECT_EQ(receiveText(peer, request.size()), request);

    sendText(peer, std::string("reply\0\xB0", 7));
    char buffer[16];
    std::string got;
    while (got.size() < 7 && pollUntilSomething(handle) == PollResult::DataWaiting)
        got.append(buffer, static_cast<size_t>(platform::receive(handle, buffer, sizeof buffer)));
    EXPECT_EQ(got, std::string("reply\0\xB0", 7));
    EXPECT_EQ(platform::pollSocket(handle), PollResult::Nothing);
}

TEST_F(SocketTest, FailsOnRefusedPortAndBadAddressText)
{
    int port;
    {
        Listener closed;
        port = closed.port;
    }
    ASSERT_NE(port, 0);
    EXPECT_EQ(platform::connectTcp("127.0.0.1", port, 2000), platform::noSocket);

    for (const char* text : {"", "localhost", "127.0.0", "127.0.0.256", "127.0.0.1 ", "::1"})
        EXPECT_EQ(platform::connectTcp(text, listener.port, 2000), platform::noSocket) << text;
    EXPECT_EQ(platform::connectTcp("127.0.0.1", 0, 2000), platform::noSocket);
    EXPECT_EQ(platform::connectTcp("127.0.0.1", 65536 + listener.port, 2000), platform::noSocket);
}

TEST_F(SocketTest, GivesUpAfterTheTimeOutWhenTheListenerTakesNoMore)
{
    // With a backlog of 0 the kernel queues about one connection and then drops
    // further handshakes, so a connect can only end by its time-out.
    Listener full(0);
    ASSERT_NE(full.port, 0);
    bool failed = false;
    int64_t waited = 0;
    for (int attempt = 0; attempt < 8 && !failed; ++attempt) {
        int64_t start = platform::milliseconds();
        failed = platform::connectTcp("127.0.0.1", full.port, 100) == platform::noSocket;
        waited = platform::milliseconds() - start;
    }
    ASSERT_TRUE(failed);
    // A lower bound only: the connect did wait for its time-out.
    EXPECT_GE(waited, 100);
}

TEST_F(SocketTest, PollTellsIdleDataWaitingAndClosed)
{
    int handle = connectToListener();
    ASSERT_NE(handle, platform::noSocket);
    EXPECT_EQ(platform::pollSocket(handle), PollResult::Nothing);
    char buffer[8];
    EXPECT_EQ(platform::receive(handle, buffer, sizeof buffer), 0);

    // Data sent before the close comes first; Closed only once it is drained.
    sendText(peer, "abc");
    closePeer(peer);
    peer = noPeer;
    ASSERT_EQ(pollUntilSomething(handle), PollResult::DataWaiting);
    EXPECT_EQ(platform::receive(handle, buffer, sizeof buffer), 3);
    EXPECT_EQ(pollUntilSomething(handle), PollResult::Closed);
    EXPECT_EQ(platform::receive(handle, buffer, sizeof buffer), 0);
    // Sending to the closed peer fails once its reset arrives, and raises no SIGPIPE.
    EXPECT_TRUE(sendFailsSoon(handle));
}

TEST_F(SocketTest, PollTellsClosedWhenThePeerClosesWithoutData)
{
    int handle = connectToListener();
    ASSERT_NE(handle, platform::noSocket);
    closePeer(peer);
    peer = noPeer;
    EXPECT_EQ(pollUntilSomething(handle), PollResult::Closed);
}

TEST_F(SocketTest, ReceiveNeverReturnsMoreThanAsked)
{
    int handle = connectToListener();
    ASSERT_NE(handle, platform::noSocket);
    sendText(peer, "0123456789");
    ASSERT_EQ(pollUntilSomething(handle), PollResult::DataWaiting);

    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    ASSERT_EQ(platform::receive(handle, buffer, 4), 4);
    EXPECT_EQ(std::string(buffer, 8), "0123####");
    EXPECT_EQ(platform::receive(handle, buffer, 0), 0);

    std::string rest;
    while (rest.size() < 6 && pollUntilSomething(handle) == PollResult::DataWaiting) {
        int got = platform::receive(handle, buffer, 3);
        ASSERT_GE(got, 1);
        ASSERT_LE(got, 3);
        rest.append(buffer, static_cast<size_t>(got));
    }
    EXPECT_EQ(rest, "456789");
}

TEST_F(SocketTest, StaleHandlesTouchNothing)
{
    int handle = connectToListener();
    ASSERT_NE(handle, platform::noSocket);
    platform::closeSocket(handle);
    EXPECT_EQ(receiveText(peer, 1), "");

    // The handle's number now belongs to someone else; a second close must not take it.
    PeerSocket reused = takeOverNumber(handle);
    ASSERT_EQ(reused, static_cast<PeerSocket>(handle));
    platform::closeSocket(handle);
    EXPECT_FALSE(platform::sendAll(handle, "x", 1));
    EXPECT_EQ(platform::pollSocket(handle), PollResult::Closed);
    EXPECT_TRUE(stillOpen(reused));
    closePeer(reused);

    EXPECT_FALSE(platform::sendAll(platform::noSocket, "x", 1));
    EXPECT_EQ(platform::pollSocket(platform::noSocket), PollResult::Closed);
}

TEST_F(SocketTest, StopSocketsClosesEveryOpenConnection)
{
    int first = connectToListener();
    ASSERT_NE(first, platform::noSocket);
    PeerSocket firstPeer = peer;
    int second = connectToListener();
    ASSERT_NE(second, platform::noSocket);

    platform::stopSockets();
    EXPECT_EQ(receiveText(firstPeer, 1), "");
    EXPECT_EQ(receiveText(peer, 1), "");
    EXPECT_EQ(platform::pollSocket(first), PollResult::Closed);
    closePeer(firstPeer);

    ASSERT_TRUE(platform::startSockets());
    EXPECT_NE(connectToListener(), platform::noSocket);
}

} // namespace
