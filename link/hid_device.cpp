#include "link/hid_device.h"

#include "link/hid_read_thread.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cerrno>

namespace kx::link {

namespace {

// A string as the device's string buffer holds it: the units, then zeros.
using StringBuffer = std::array<char16_t, kMaxHidStringUnits + 1>;

std::string utf8(const char16_t *units, std::size_t size)
{
    return QString::fromUtf16(units, static_cast<qsizetype>(size)).toStdString();
}

// Units of the language list that count: up to the last unit that is not the buffer's filler 0xFFFF,
// that unit included unless it is the terminating 0.
std::size_t languageListLength(const StringBuffer &languages)
{
    for (std::size_t i = languages.size(); i-- > 0;) {
        if (languages[i] != 0xFFFF)
            return languages[i] != 0 ? i + 1 : i;
    }
    return 0;
}

} // namespace

THidDevice::THidDevice(std::shared_ptr<HidPlatform> platform, THidPnPInfo info)
    : Platform(std::move(platform)), Info(std::move(info))
{
    const int channel = MainChannel();
    if (channel < 0)
        throw EControllerError("device cannot be opened");
    const std::optional<HidAttributes> attributes = Platform->attributes(channel);
    if (!attributes)
        throw EControllerError("device cannot be identified");
    Attributes = *attributes;
    CloseChannels();
}

THidDevice::~THidDevice() { StopReader(); }

int THidDevice::MainChannel()
{
    if (!Main.valid()) {
        Main = Platform->open(Info.DevicePath, HidAccess::ReadWrite);
        HasReadWriteAccess = Main.valid();
        ReadWriteError = HasReadWriteAccess ? 0 : errno;
        if (!Main.valid())
            Main = Platform->open(Info.DevicePath, HidAccess::Identify);
    }
    return Main.get();
}

std::string THidDevice::ProductName()
{
    if (Product.empty() && Accessible()) {
        const int channel = MainChannel();
        if (channel >= 0) {
            if (const std::optional<std::u16string> name = Platform->string(channel, HidString::Product))
                Product = utf8(name->data(), std::min(name->size(), kMaxHidStringUnits));
        }
        CloseChannels();
    }
    return Product;
}

std::string THidDevice::SerialNumber()
{
    if (Serial.empty() && Accessible()) {
        const int channel = MainChannel();
        if (channel >= 0) {
            StringBuffer serial{};
            if (const std::optional<std::u16string> text = Platform->string(channel, HidString::Serial))
                std::copy_n(text->begin(), std::min(text->size(), kMaxHidStringUnits), serial.begin());
            StringBuffer languages;
            languages.fill(0xFFFF);
            if (const std::optional<std::u16string> list = Platform->string(channel, HidString::Languages)) {
                const std::size_t size = std::min(list->size(), kMaxHidStringUnits);
                std::copy_n(list->begin(), size, languages.begin());
                languages[size] = 0;
            }
            // A device that answers with its language list for a serial number has none.
            const std::size_t n = languageListLength(languages);
            if (!std::equal(serial.begin(), serial.begin() + static_cast<std::ptrdiff_t>(n), languages.begin()))
                Serial = utf8(serial.data(), static_cast<std::size_t>(std::find(serial.begin(), serial.end(), 0) - serial.begin()));
        }
        CloseChannels();
    }
    return Serial;
}

std::size_t THidDevice::InputReportLength()
{
    if (!InputReports && Accessible()) {
        const int channel = MainChannel();
        if (channel >= 0) {
            if (const std::optional<std::vector<std::uint8_t>> descriptor = Platform->reportDescriptor(channel))
                InputReports = parseReportDescriptor(*descriptor);
        }
        CloseChannels();
    }
    return InputReports ? InputReports->InputReportLength : 0;
}

void THidDevice::SetSleepTime(std::int32_t Value)
{
    if (Value >= 10 && Value <= 10000)
        ReaderSleepTime = Value;
}

bool THidDevice::SendFeatureReport(const std::uint8_t *Buffer, std::size_t Length)
{
    if (!Accessible())
        return false;
    const int channel = MainChannel();
    return channel >= 0 && Platform->sendFeatureReport(channel, Buffer, Length);
}

void THidDevice::SetDataHandler(THidDataEvent Handler)
{
    if (!Handler)
        StopReader();
    OnData = std::move(Handler);
    StartReader();
}

void THidDevice::StartReader()
{
    if (!OnData || !IsPresent || !IsClaimed || !HasReadWriteAccess || Reader)
        return;
    InputReportLength();
    THidDeviceReadThread::Channel channel{Platform, Info.DevicePath, InputReports.value_or(HidInputReports{}),
                                          ReaderSleepTime};
    // The handlers are copied for the call: a handler may replace itself while it runs.
    THidDeviceReadThread::Delivery delivery{
        [this](std::uint8_t ReportID, const std::uint8_t *Data, std::uint16_t Size) {
            if (const THidDataEvent handler = OnData)
                handler(this, ReportID, Data, Size);
        },
        [this](std::uint32_t Error) {
            if (const THidDataErrorEvent handler = OnDataError)
                handler(this, Error);
        }};
    Reader = THidDeviceReadThread::Start(std::move(channel), std::move(delivery));
}

void THidDevice::StopReader()
{
    // Taken out first, so that a handler run while it stops sees no reader.
    if (const std::shared_ptr<THidDeviceReadThread> reader = std::move(Reader))
        reader->Stop();
}

void THidDevice::Unplug()
{
    CloseChannels();
    IsPresent = false;
    StopReader();
    if (const THidPlugEvent handler = std::exchange(OnUnplug, {}))
        handler(this);
}

} // namespace kx::link
