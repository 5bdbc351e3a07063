#include "link/com_port_map.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace kx::link {
namespace {

namespace fs = std::filesystem;

// A small copy of /sys/class/tty: each terminal a folder, with a "device" link where hardware
// stands behind it and a "type" file for serial_core ports.
class FakeSysfs : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("kx52b-sysfs-" + std::to_string(getpid()));
        fs::remove_all(root);
        add("tty0", "", "");                                        // virtual console
        add("ttyS1", "devices/platform/serial8250", "0");           // legacy placeholder
        add("ttyS0", "devices/pnp0/00:05", "4");                    // motherboard UART
        add("ttyUSB0", "devices/pci0000:00/usb1/1-2/1-2:1.0", "");  // adapter in socket 2
        add("ttyACM0", "devices/pci0000:00/usb1/1-1/1-1:1.0", "");  // adapter in socket 1
    }
    void TearDown() override { fs::remove_all(root); }

    void add(const std::string &name, const std::string &device, const std::string &type)
    {
        const fs::path dir = root / "class" / "tty" / name;
        fs::create_directories(dir);
        if (!device.empty()) {
            fs::create_directories(root / device);
            fs::create_directory_symlink(root / device, dir / "device");
        }
        if (!type.empty())
            std::ofstream(dir / "type") << type << "\n";
    }

    fs::path classTty() const { return root / "class" / "tty"; }

    fs::path root;
};

TEST_F(FakeSysfs, ListsDevicesWithHardwareInAStableOrder)
{
    EXPECT_EQ(serialDevicesPresent(classTty()),
              (std::vector<std::string>{"/dev/ttyS0", "/dev/ttyACM0", "/dev/ttyUSB0"}));
}

TEST_F(FakeSysfs, BuiltInUartsKeepTheKernelsNumbering)
{
    // A two-port card hangs in the tree before the motherboard's port, and "ttyS10" sorts before
    // "ttyS4" as text; the motherboard's ttyS0 must still be COM1.
    add("ttyS10", "devices/pci0000:00/0000:03:00.0", "4");
    add("ttyS4", "devices/pci0000:00/0000:03:00.0", "4");
    EXPECT_EQ(serialDevicesPresent(classTty()),
              (std::vector<std::string>{"/dev/ttyS0", "/dev/ttyS4", "/dev/ttyS10", "/dev/ttyACM0", "/dev/ttyUSB0"}));
}

TEST_F(FakeSysfs, ComPortsMapToTheNthDeviceUnlessTheEnvironmentSaysOtherwise)
{
    unsetenv("KX52B_COM1");
    unsetenv("KX52B_COM3");
    unsetenv("KX52B_COM4");
    setenv("KX52B_COM2", "/dev/ttyUSB7", 1);
    EXPECT_EQ(comPortDevicePath(TComPortNumber::pnCOM1, classTty()), "/dev/ttyS0");
    EXPECT_EQ(comPortDevicePath(TComPortNumber::pnCOM2, classTty()), "/dev/ttyUSB7");
    EXPECT_EQ(comPortDevicePath(TComPortNumber::pnCOM3, classTty()), "/dev/ttyUSB0");
    EXPECT_EQ(comPortDevicePath(TComPortNumber::pnCOM4, classTty()), "");
    setenv("KX52B_COM2", "", 1); // empty: back to the device list
    EXPECT_EQ(comPortDevicePath(TComPortNumber::pnCOM2, classTty()), "/dev/ttyACM0");
    unsetenv("KX52B_COM2");
}

TEST(ComPortNames, OnlyCom1ToCom4AreComNames)
{
    EXPECT_EQ(comPortFromName("COM1"), TComPortNumber::pnCOM1);
    EXPECT_EQ(comPortFromName("cOm3"), TComPortNumber::pnCOM3);
    for (const char *other : {"COM0", "COM5", "COM", "COM12", "/dev/ttyS0", ""})
        EXPECT_EQ(comPortFromName(other), std::nullopt) << other;
    EXPECT_EQ(comPortName(TComPortNumber::pnCOM4), "COM4");
}

} // namespace
} // namespace kx::link
