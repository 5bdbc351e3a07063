#pragma once

#include <cstdint>

namespace kx::link {

// The line settings a serial port is opened with; the order of every list is part of its meaning
// (character size is 5 + position, "COM" + 1 + position; the rate table of the line follows the
// bit rates' order).
enum class TComPortNumber : std::uint8_t { pnCOM1, pnCOM2, pnCOM3, pnCOM4 };
enum class TComPortBaudRate : std::uint8_t {
    br110, br300, br600, br1200, br2400, br4800, br9600, br14400,
    br19200, br38400, br56000, br57600, br115200,
};
enum class TComPortDataBits : std::uint8_t { db5BITS, db6BITS, db7BITS, db8BITS };
enum class TComPortStopBits : std::uint8_t { sb1BITS, sb1HALFBITS, sb2BITS };
enum class TComPortParity : std::uint8_t { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };
enum class TComPortHwHandshaking : std::uint8_t { hhNONE, hhRTSCTS };
enum class TComPortSwHandshaking : std::uint8_t { shNONE, shXONXOFF };

// Everything pushed to an open port in one step.
struct LineSettings {
    TComPortBaudRate speed = TComPortBaudRate::br9600;
    TComPortDataBits dataBits = TComPortDataBits::db8BITS;
    TComPortStopBits stopBits = TComPortStopBits::sb1BITS;
    TComPortParity parity = TComPortParity::ptNONE;
    TComPortHwHandshaking hwHandshaking = TComPortHwHandshaking::hhNONE;
    TComPortSwHandshaking swHandshaking = TComPortSwHandshaking::shNONE;
    bool dtrOn = true;
};

} // namespace kx::link
