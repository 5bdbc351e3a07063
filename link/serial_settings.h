#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace kx::link {

// The line settings a serial port is opened with; the order of every list is part of its meaning
// (character size is 5 + position, "COM" + 1 + position, the bit rate comes from kBitRates).
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

inline constexpr std::array<std::uint32_t, 13> kBitRates = {
    110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200,
};

constexpr std::uint32_t bitsPerSecond(TComPortBaudRate rate)
{
    return kBitRates[static_cast<std::size_t>(rate)];
}

// The table entry for a rate in bit/s, none for a rate the table does not hold.
constexpr std::optional<TComPortBaudRate> baudRateFor(std::uint32_t bitsPerSecondValue)
{
    for (std::size_t i = 0; i < kBitRates.size(); ++i)
        if (kBitRates[i] == bitsPerSecondValue)
            return static_cast<TComPortBaudRate>(i);
    return std::nullopt;
}

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
