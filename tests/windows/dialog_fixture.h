#pragma once
// What the dialog tests share: a runtime with built-in support libraries and sockets started,
// BRW_GAGE.CFG and BRW_GAGE.DEF in a temporary folder, message boxes recorded and answered Yes,
// and the ways a dialog is opened (by command 3 as a host opens it, or directly) while the
// dialog driver works it from a second thread.

#include <gtest/gtest.h>

#include "channels/tcp_channel.h"
#include "config/profile.h"
#include "dialog_driver.h"
#include "entry/commands.h"
#include "entry/configuration_reload.h"
#include "entry/runtime.h"
#include "helpers/message_box_recorder.h"
#include "helpers/temporary_directory.h"
#include "reading/engine_clock.h"
#include "simulator_port.h"
#include "ui/forms/ui_context.h"
#include "ui/resources/resource.h"

namespace gage::test {

inline constexpr const char* kConfigTitle = "Gage Server Configuration";
// The byte picker, which the monitor, the format and the interface dialogs all open.
inline constexpr const char* kPickerTitle = "ASCII Character Values";

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        runtime.support.UseBuiltInsOnly(true);
        runtime.settings.ConfigurationPath = directory.File("BRW_GAGE.CFG");
        runtime.settings.DefinitionsPath = directory.File("BRW_GAGE.DEF");
        runtime.settings.LogPath = directory.File("ZRNGSV32.LOG");
        ASSERT_EQ(TcpStartup(runtime.channels), 1);  // as the library's start-up does
    }
    void TearDown() override { TcpShutdown(runtime.channels, runtime.connections); }

    // Both files written and the tables loaded from them.
    void Load(std::string_view configuration, std::string_view definitions) {
        directory.Write("BRW_GAGE.CFG", configuration);
        directory.Write("BRW_GAGE.DEF", definitions);
        ASSERT_EQ(LoadRuntimeConfiguration(runtime, nullptr), 1);
    }
    // Connects record by TCP/IP to port on 127.0.0.1, the address held in its line fields
    // (127 in the baud rate, 1 in the parity, the others 0).
    void UseLocalTcp(ConnectionRecord& record, int port) {
        record.Kind = KIND_TCPIP;
        record.BaudRate = 127;
        record.Parity = 1;
        record.PortNumber = port;
        TcpSettleAddress(runtime.channels, record);
    }
    // A key of a file as it is on disk now; fallback when it is absent.
    std::string Saved(std::string_view file, std::string_view section, std::string_view key,
                      std::string_view fallback = "") {
        return profile::GetString(directory.File(file), section, key, fallback);
    }

    // Runs open on this thread while drive works the dialog titled title.
    static void Drive(std::string_view title, const std::function<void()>& open,
                      const std::function<void(DialogDriver&)>& drive) {
        DriveDialog(open, [&] { DialogDriver::Attach(title, drive); });
    }
    // Command 3 from host while drive works the configuration dialog; what drive leaves open is
    // closed with Close, which saves.
    void Configure(const std::function<void(DialogDriver&)>& drive, HWND host = nullptr) {
        Drive(
            kConfigTitle,
            [&] { EXPECT_EQ(RunCommand(runtime, host, 1, GSV_CMD_CONFIGURE, nullptr), 1); },
            [&](DialogDriver& dialog) {
                drive(dialog);
                dialog.Click(IDC_CONFIG_CLOSE);  // no click once it has closed
                EXPECT_TRUE(dialog.WaitClosed());
            });
        EXPECT_EQ(runtime.configDialog, nullptr);
    }

    TemporaryDirectory directory{"gage-dialog-"};
    Runtime runtime;
    MessageBoxRecorder boxes{runtime.support, IDYES};
    WindowHandle configDialog = nullptr;
    UiContext context{{runtime.channels, runtime.connections, runtime.settings, runtime.support,
                       SystemEngineClock()},
                      runtime.gages,
                      configDialog,
                      &runtime.formatEditingForm};
};

}  // namespace gage::test
