#pragma once
// What the tests of the gage dialogs share: a runtime with built-in support libraries whose
// message boxes are recorded (and answered Yes or OK), BRW_GAGE.DEF in a temporary folder, the
// connection "Bench" (index 2, interface type 1) by TCP/IP to the counting gage simulator on
// 127.0.0.1, and the gage "Caliper" on it.

#include <windows.h>

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "channels/tcp_channel.h"
#include "config/profile.h"
#include "entry/runtime.h"
#include "helpers/temporary_directory.h"
#include "reading/engine_clock.h"
#include "simulator_port.h"
#include "ui/forms/ui_context.h"

namespace gage::test {

class GageDialogFixture : public ::testing::Test {
  protected:
    // definitions: BRW_GAGE.DEF; format: the gage's format number (of interface type 1).
    void SetUpGage(const char* definitions, int format) {
        runtime.support.UseBuiltInsOnly(true);
        runtime.support.SetMessageBoxHook([this](const MessageBoxRequest& box) {
            const std::lock_guard<std::mutex> lock(boxesMutex);
            boxes.push_back(box);
            return (box.style & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
        });
        runtime.settings.DefinitionsPath = directory.Write("BRW_GAGE.DEF", definitions);
        runtime.settings.LogPath = directory.File("ZRNGSV32.LOG");
        ASSERT_EQ(TcpStartup(runtime.channels), 1);

        ConnectionRecord& bench = runtime.connections[2];
        bench.Name = "Bench";
        bench.InterfaceType = 1;
        bench.Kind = KIND_TCPIP;
        bench.BaudRate = 127;  // 127.0.0.1
        bench.Parity = 1;
        bench.PortNumber = SimulatorPort();
        TcpSettleAddress(runtime.channels, bench);
        runtime.gages.resize(1);
        runtime.gages[0].Name = "Caliper";
        runtime.gages[0].ConnectionIndex = 2;
        runtime.gages[0].InterfaceTypeNumber = 1;
        runtime.gages[0].FormatNumber = static_cast<std::uint16_t>(format);
    }
    void TearDown() override { TcpShutdown(runtime.channels, runtime.connections); }

    std::vector<MessageBoxRequest> Boxes() {
        const std::lock_guard<std::mutex> lock(boxesMutex);
        return boxes;
    }

    TemporaryDirectory directory{"gage-dialog-"};
    Runtime runtime;
    WindowHandle configDialog = nullptr;
    UiContext context{{runtime.channels, runtime.connections, runtime.settings, runtime.support,
                       SystemEngineClock()},
                      runtime.gages,
                      configDialog,
                      &runtime.formatEditingForm};

  private:
    std::mutex boxesMutex;
    std::vector<MessageBoxRequest> boxes;
};

}  // namespace gage::test
