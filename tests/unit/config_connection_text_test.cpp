#include <gtest/gtest.h>

#include "config/connection_text.h"

namespace gage {
namespace {

ConnectionRecord SerialRow(int port, std::uint32_t baud, std::uint32_t parity,
                           std::uint32_t dataBits, std::uint32_t stopBits) {
    ConnectionRecord row;
    row.Kind = KIND_SERIAL;
    row.PortNumber = port;
    row.BaudRate = baud;
    row.Parity = parity;
    row.DataBits = dataBits;
    row.StopBits = stopBits;
    return row;
}

TEST(DescribeConnection, SerialRowsShowPortAndLineSettings) {
    EXPECT_EQ(DescribeConnection(SerialRow(1, 9600, 1, 8, 1), "-"), "COM1:9600,n,8,1");
    EXPECT_EQ(DescribeConnection(SerialRow(12, 19200, 3, 7, 2), "-"), "COM12:19200,e,7,2");
    EXPECT_EQ(DescribeConnection(SerialRow(3, 4800, 2, 8, 3), "-"), "COM3:4800,o,8,1.5");
    EXPECT_EQ(DescribeConnection(SerialRow(3, 4800, 4, 8, 1), "-"), "COM3:4800,m,8,1");
    EXPECT_EQ(DescribeConnection(SerialRow(3, 4800, 5, 8, 1), "-"), "COM3:4800,s,8,1");
}

TEST(DescribeConnection, UnknownCodesFallBack) {
    EXPECT_EQ(DescribeConnection(SerialRow(1, 9600, 7, 8, 1), "-"), "COM1:9600,n,8,1");
    EXPECT_EQ(DescribeConnection(SerialRow(1, 9600, 1, 8, 0), "-"), "COM1:9600,n,8,");
}

TEST(DescribeConnection, SerialRowWithoutPortShowsTheUndefinedText) {
    EXPECT_EQ(DescribeConnection(SerialRow(0, 9600, 1, 8, 1), "(undefined)"), "(undefined)");
    EXPECT_EQ(DescribeConnection(SerialRow(-3, 9600, 1, 8, 1), "(undefined)"), "(undefined)");
    EXPECT_EQ(DescribeConnection(SerialRow(0, 0, 0, 0, 0), std::string(40, 'u')),
              std::string(31, 'u'));
}

TEST(DescribeConnection, TcpRowsShowHostOrAddressAndPort) {
    ConnectionRecord row;
    row.Kind = KIND_TCPIP;
    row.PortNumber = 4001;
    row.BaudRate = 192;
    row.DataBits = 168;
    row.StopBits = 0;
    row.Parity = 10;
    EXPECT_EQ(DescribeConnection(row, "-"), "192.168.0.10:4001");
    row.HostName = "converter.example";
    EXPECT_EQ(DescribeConnection(row, "-"), "converter.example:4001");
    const std::string longHost(253, 'h');
    row.HostName = longHost;
    row.PortNumber = 65535;
    EXPECT_EQ(DescribeConnection(row, "-"), longHost + ":65535");
}

}  // namespace
}  // namespace gage
