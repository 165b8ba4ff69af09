// Serial channels through the Win32 communications API, against the gage simulator that the
// test fixture puts behind COM<GAGE_SIM_COM> (a pseudo-terminal linked into the Wine prefix).
// The simulator answers "?\r" with "+1.500\r\n", then "-2.250\r\n", in turn.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "channels/comm_errors.h"
#include "channels/serial_channel.h"
#include "helpers/serial_record.h"
#include "simulator_port.h"

namespace gage {
namespace {

using namespace std::chrono_literals;

class SerialChannelWin32Test : public ::testing::Test {
  protected:
    void SetUp() override {
        port = test::SimulatorComPort();
        if (port < 1 || port > kMaxSerialPortNumber) {
            GTEST_SKIP() << "no gage simulator behind a COM port (GAGE_SIM_COM unset)";
        }
        if (SerialProbePort(settings, port) == 0) {
            GTEST_SKIP() << "COM" << port << " cannot be opened";
        }
        support.UseBuiltInsOnly(true);
        support.SetMessageBoxHook([this](const MessageBoxRequest& request) {
            boxes.push_back(request);
            return MB_RESULT_IGNORE;
        });
        test::MakeSerial9600(record, port);
    }
    void TearDown() override { ChannelClose(context, record); }

    HANDLE Port() const { return reinterpret_cast<HANDLE>(record.PortHandle.get()); }

    void OpenAndConfigure() {
        ASSERT_EQ(SerialOpen(context, nullptr, record), 1);
        ASSERT_EQ(SerialConfigure(context, nullptr, record), 0);
        ASSERT_EQ(AllocateReceiveBuffer(record), 1);
    }

    // Polls the port in short slices (a plain port cannot be waited on) until bytes are held.
    bool ReadUntilHeld(int want) {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (record.RxCount < want) {
            if (ChannelRead(context, nullptr, record) < 0 ||
                std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            ::Sleep(2);
        }
        return true;
    }

    DWORD Queued() const {
        DWORD errors = 0;
        COMSTAT status{};
        ::ClearCommError(Port(), &errors, &status);
        return status.cbInQue;
    }

    std::string Held() const {
        return {reinterpret_cast<const char*>(record.RxBuffer.get()),
                static_cast<std::size_t>(record.RxCount)};
    }

    int port = 0;
    Support support;
    ServerSettings settings;
    ChannelContext context{support, settings};
    ConnectionRecord record;
    std::vector<MessageBoxRequest> boxes;
};

TEST_F(SerialChannelWin32Test, ConfigureSetsTheControlBlockAndNonWaitingReads) {
    record.BaudRate = 19200;
    record.StopBits = 2;
    OpenAndConfigure();
    DCB control{};
    control.DCBlength = sizeof control;
    ASSERT_TRUE(::GetCommState(Port(), &control));
    EXPECT_EQ(control.BaudRate, 19200u);
    EXPECT_EQ(control.StopBits, TWOSTOPBITS);
    COMMTIMEOUTS timeouts{};
    ASSERT_TRUE(::GetCommTimeouts(Port(), &timeouts));
    EXPECT_EQ(timeouts.ReadIntervalTimeout, MAXDWORD);
    EXPECT_EQ(timeouts.ReadTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 0u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutMultiplier, 10u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, 1000u);

    record.FlowControl = 5;
    EXPECT_EQ(SerialConfigure(context, nullptr, record), SERIAL_CONFIG_BAD_FLOW_CONTROL);
    ASSERT_TRUE(::GetCommState(Port(), &control));
    EXPECT_EQ(control.BaudRate, 19200u);
}

TEST_F(SerialChannelWin32Test, ACommandIsAnsweredAndTheRecordIsRead) {
    OpenAndConfigure();
    EXPECT_NE(ChannelPurge(context, nullptr, record, PURGE_ALL), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);  // nothing waiting: back at once
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);

    const std::uint8_t command[] = {'?', '\r'};
    ASSERT_EQ(ChannelWrite(context, nullptr, record, command, 2), 2);
    ASSERT_TRUE(ReadUntilHeld(8)) << Held();
    EXPECT_TRUE(Held() == "+1.500\r\n" || Held() == "-2.250\r\n") << Held();

    // A purge drops an answer that has arrived but not been read.
    ASSERT_EQ(ChannelWrite(context, nullptr, record, command, 2), 2);
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (Queued() < 8 && std::chrono::steady_clock::now() < deadline) {
        ::Sleep(2);
    }
    ASSERT_GE(Queued(), 8u);
    EXPECT_NE(ChannelPurge(context, nullptr, record, PURGE_ALL), 0);
    EXPECT_EQ(Queued(), 0u);
    EmptyReceiveBuffer(record);
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);
    EXPECT_TRUE(boxes.empty());
}

// Wine does not enforce the sharing mode of device files, so a second open succeeds there.
bool RunningUnderWine() {
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST_F(SerialChannelWin32Test, AnOpenPortIsHeldExclusively) {
    OpenAndConfigure();
    if (!RunningUnderWine()) {
        EXPECT_EQ(SerialProbePort(settings, port), 0);
        ConnectionRecord second;
        second.PortNumber = port;
        EXPECT_EQ(SerialOpen(context, nullptr, second), 0);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text,
                  "The hardware is not available (is locked by another device).\n\nError Code: "
                  "-10 (FFFFFFF6)");
        EXPECT_EQ(boxes[0].caption, "COMMUNICATION ERROR");
    }

    EXPECT_EQ(ChannelSignal(context, record, SIGNAL_START), 1);
    EXPECT_EQ(ChannelSignal(context, record, SIGNAL_PAUSE), 1);
    EXPECT_EQ(ChannelClose(context, record), 1);
    EXPECT_EQ(ChannelClose(context, record), 0);
    EXPECT_EQ(SerialProbePort(settings, port), 1);
}

TEST_F(SerialChannelWin32Test, PrepareOpensAndEmpties) {
    ASSERT_EQ(AllocateReceiveBuffer(record), 1);
    record.RxCount = 5;
    EXPECT_EQ(ChannelPrepare(context, nullptr, record), 1);
    EXPECT_TRUE(record.PortHandle.is_open());
    EXPECT_EQ(record.RxCount, 0);
    EXPECT_EQ(ChannelPrepare(context, nullptr, record), 1);  // open already: purged
}

}  // namespace
}  // namespace gage
