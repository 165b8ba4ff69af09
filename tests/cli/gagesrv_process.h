#pragma once
// Runs the command-line host as a separate process, as a user or a script would, and collects
// what it prints. The test program knows where the build put it (GAGESRV_PROGRAM).

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "helpers/temporary_directory.h"
#include "simulator.h"

namespace gage::cli_test {

struct ProcessResult {
    // The exit status, or -1 when the process did not exit normally (also when it was killed for
    // outliving the time allowed).
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// What a user at a terminal does besides typing the input.
struct TerminalUse {
    // The process gets SIGINT (as from Ctrl-C) once its standard output holds this text.
    std::string interruptOn;
    // Standard error goes to a pseudo-terminal, as when gagesrv runs in a terminal window.
    bool stderrOnTerminal = false;
};

// Runs program with args, feeding input to its standard input (then closing it). A process that
// outlives 90 seconds is killed.
ProcessResult RunProcess(const std::vector<std::string>& args, const std::string& input = {},
                         const TerminalUse& terminal = {}, const char* program = GAGESRV_PROGRAM);

// gagesrv with a directory of its own as shared and local directory, and simulated gages.
class GagesrvTest : public ::testing::Test {
  protected:
    ProcessResult Run(const std::vector<std::string>& args, const std::string& input = {},
                      const TerminalUse& terminal = {}) const {
        std::vector<std::string> all{"--shared-dir", dir.str(), "--local-dir", dir.str()};
        all.insert(all.end(), args.begin(), args.end());
        return RunProcess(all, input, terminal);
    }

    static std::unique_ptr<gagesim::Simulator> Start(const gagesim::SimulatorOptions& options) {
        auto simulator = std::make_unique<gagesim::Simulator>(options);
        std::string error;
        EXPECT_TRUE(simulator->Start(error)) << error;
        return simulator;
    }

    // The COM_PREFIX of the tests, and the device path that names serial port `port` under it
    // (where a simulator's terminal is to be linked).
    std::string ComPrefix() const { return dir.File("c"); }
    std::string SerialDevice(int port) const { return ComPrefix() + std::to_string(port); }

    // Holds ZRN_SYS.INI, BRW_GAGE.DEF and BRW_GAGE.CFG. Short on purpose: COM_PREFIX holds at most
    // 15 characters.
    test::TemporaryDirectory dir{"/tmp", "gs"};
};

}  // namespace gage::cli_test
