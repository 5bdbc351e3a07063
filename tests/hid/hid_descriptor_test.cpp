// Report descriptors of common devices, and the hidraw backend on a machine without HID devices.
#include "link/hid_report_descriptor.h"
#include "link/hid_udev_platform.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <vector>

namespace kx::link {
namespace {

struct DescriptorCase {
    const char *device;
    std::vector<std::uint8_t> descriptor;
    std::optional<HidInputReports> expected;
};

// A boot keyboard: modifiers 8 x 1 bit, a reserved byte, 6 key codes; LEDs are output.
const std::vector<std::uint8_t> kBootKeyboard{
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0};
// A boot mouse: 3 buttons, 5 bits padding, X and Y.
const std::vector<std::uint8_t> kBootMouse{
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01, 0x29, 0x03,
    0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05, 0x81, 0x01,
    0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06,
    0xC0, 0xC0};
// A keyboard with media keys: report 1 the 8-byte keyboard report, report 2 one 16-bit consumer
// usage; the sizes are pushed and popped around the second.
const std::vector<std::uint8_t> kKeyboardWithMediaKeys{
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x75, 0x08, 0x95, 0x08, 0x81, 0x00, 0xC0,
    0xA4, 0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x75, 0x10, 0x95, 0x01, 0x15, 0x00,
    0x26, 0xFF, 0x03, 0x19, 0x00, 0x2A, 0xFF, 0x03, 0x81, 0x00, 0xC0, 0xB4};
// The meter cable's adapter: vendor page, 8-byte input and output, 9-byte feature report.
const std::vector<std::uint8_t> kAdapter{
    0x06, 0xA0, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x09, 0x02,
    0x95, 0x08, 0x81, 0x02, 0x09, 0x03, 0x91, 0x02, 0x09, 0x04, 0x95, 0x09, 0xB1, 0x02, 0xC0};

TEST(HidReportDescriptor, InputReportLengthOfCommonDevices)
{
    const std::vector<DescriptorCase> cases{
        {"boot keyboard", kBootKeyboard, HidInputReports{9, false}},
        {"boot mouse", kBootMouse, HidInputReports{4, false}},
        {"keyboard with media keys", kKeyboardWithMediaKeys, HidInputReports{9, true}},
        {"meter adapter", kAdapter, HidInputReports{9, false}},
        {"output only", {0x75, 0x08, 0x95, 0x04, 0x91, 0x02}, HidInputReports{0, false}},
        {"long item skipped", {0xFE, 0x02, 0x10, 0xAA, 0xBB, 0x75, 0x08, 0x95, 0x02, 0x81, 0x02}, HidInputReports{3, false}},
        {"item cut short", {0x75, 0x08, 0x96, 0x02}, std::nullopt},
        {"long item cut short", {0xFE, 0x05, 0x10, 0xAA}, std::nullopt},
    };
    for (const DescriptorCase &c : cases) {
        const std::optional<HidInputReports> parsed = parseReportDescriptor(c.descriptor);
        ASSERT_EQ(parsed.has_value(), c.expected.has_value()) << c.device;
        if (parsed) {
            EXPECT_EQ(parsed->InputReportLength, c.expected->InputReportLength) << c.device;
            EXPECT_EQ(parsed->numbered, c.expected->numbered) << c.device;
        }
    }
}

TEST(HidReportDescriptor, AbsurdSizesAreCutToTheKernelsLargestReport)
{
    const std::vector<std::uint8_t> huge{0x77, 0xFF, 0xFF, 0xFF, 0x7F, 0x97, 0xFF, 0xFF, 0xFF, 0x7F, 0x81, 0x02};
    EXPECT_EQ(parseReportDescriptor(huge)->InputReportLength, kMaxInputReportLength);
}

TEST(HidUdevPlatform, WithoutLibudevTheListIsEmptyAndSilent)
{
    const std::shared_ptr<HidPlatform> platform = makeUdevHidPlatform("libkx52b-no-such-udev.so.1");
    EXPECT_TRUE(platform->presentInterfaces().empty());
    EXPECT_EQ(platform->notificationFd(), -1);
}

TEST(HidUdevPlatform, ListsNoDeviceOnAMachineWithoutHidraw)
{
    const std::shared_ptr<HidPlatform> platform = makeUdevHidPlatform();
    for (const THidPnPInfo &info : platform->presentInterfaces())
        EXPECT_EQ(info.DevicePath.rfind("/dev/hidraw", 0), 0u) << info.DevicePath;
}

TEST(HidUdevPlatform, NodesThatCannotBeOpenedFailWithTheirReason)
{
    const std::shared_ptr<HidPlatform> platform = makeUdevHidPlatform();
    for (HidAccess access : {HidAccess::ReadWrite, HidAccess::Read, HidAccess::Identify}) {
        errno = 0;
        EXPECT_FALSE(platform->open("/dev/hidraw-kx52b-missing", access).valid());
        EXPECT_EQ(errno, ENOENT);
    }
    // Something that is not a hidraw node cannot be identified or asked for strings.
    const UniqueFd notHid(::open("/dev/null", O_RDWR | O_CLOEXEC));
    EXPECT_FALSE(platform->attributes(notHid.get()));
    EXPECT_FALSE(platform->reportDescriptor(notHid.get()));
    EXPECT_FALSE(platform->string(notHid.get(), HidString::Product));
    EXPECT_FALSE(platform->sendFeatureReport(notHid.get(), kAdapter.data(), 10));
}

} // namespace
} // namespace kx::link
