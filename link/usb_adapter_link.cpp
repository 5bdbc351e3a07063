#include "link/usb_adapter_link.h"

#include "link/hid_device_texts.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <array>

namespace kx::link {

namespace {

// The adapter's feature report: report ID 0, the bit rate 2400 (little-endian), then 3 and zeros.
constexpr std::array<std::uint8_t, 10> kAdapterFeatureReport{0x00, 0x60, 0x09, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00};
constexpr const char *kAdapterProduct = "USB to Serial";
// History lines kept; the oldest go first. A meter read for hours adds a line per data report.
constexpr int kHistoryLines = 1000;

QString qs(const std::string &text) { return QString::fromStdString(text); }

void name(QWidget *widget, const char *objectName, const QString &caption)
{
    widget->setObjectName(QString::fromLatin1(objectName));
    widget->setAccessibleName(caption);
}

} // namespace

UsbAdapterLink::UsbAdapterLink(const UsbAdapterWidgets &widgets, THidDeviceController &controller,
                               UsbAdapterHooks hooks, QObject *parent)
    : QObject(parent), Widgets(widgets), HidCtl(controller), Hooks(std::move(hooks)),
      HidSegmentData([this](THidDevice *, std::uint8_t id, const std::uint8_t *data, std::uint16_t size) {
          Report(Hooks.segmentData, id, data, size);
      }),
      HidConnectData([this](THidDevice *, std::uint8_t id, const std::uint8_t *data, std::uint16_t size) {
          Report(Hooks.connectData, id, data, size);
      })
{
    bindWidgets();
    HidCtl.SetOnArrival([this](THidDevice *HidDev) { HidCtlArrival(HidDev); });
    HidCtl.SetOnEnumerate([this](THidDevice *HidDev, std::int32_t Idx) { return HidCtlEnumerate(HidDev, Idx); });
    HidCtl.SetOnDeviceChange([this] { HidCtlDeviceChange(); });
    HidCtl.SetOnDeviceDataError([this](THidDevice *HidDev, std::uint32_t Error) { HidCtlDeviceDataError(HidDev, Error); });
    HidCtl.SetOnRemoval([this](THidDevice *HidDev) { HidCtlRemoval(HidDev); });
}

UsbAdapterLink::~UsbAdapterLink()
{
    HidCtl.SetOnArrival({});
    HidCtl.SetOnEnumerate({});
    HidCtl.SetOnRemoval({});
    HidCtl.SetOnDeviceDataError({});
    ReleaseDevices();
    HidCtl.SetOnDeviceChange({});
}

void UsbAdapterLink::bindWidgets()
{
    const auto button = [this](QPushButton *b, const char *objectName, const char *caption, void (UsbAdapterLink::*action)()) {
        b->setText(QString::fromLatin1(caption));
        name(b, objectName, b->text());
        connect(b, &QPushButton::clicked, this, action);
    };
    button(Widgets.USBCon, "USBCon", "USB Connect", &UsbAdapterLink::USBConClick);
    button(Widgets.ReadBtn, "ReadBtn", "Read", &UsbAdapterLink::ReadBtnClick);
    button(Widgets.SetFeature, "SetFeature", "SetFeature", &UsbAdapterLink::SetFeatureClick);
    button(Widgets.ClearBtn, "ClearBtn", "Clear", &UsbAdapterLink::ClearBtnClick);
    button(Widgets.InfoBtn, "InfoBtn", "Info", &UsbAdapterLink::InfoBtnClick);
    Widgets.USBCon->setCheckable(true);
    Widgets.ReadBtn->setCheckable(true);
    name(Widgets.DevListBox, "DevListBox", QStringLiteral("USB devices"));
    name(Widgets.HistoryListBox, "HistoryListBox", QStringLiteral("USB history"));
    // Every report with meter data adds a line; lines of one height spare the list laying out all
    // its thousand lines again for each one (milliseconds a line once the list is full).
    Widgets.HistoryListBox->setUniformItemSizes(true);
    name(Widgets.USBtxt, "USBtxt", QStringLiteral("Last USB frame"));
    Widgets.USBtxt->setText(QStringLiteral("6001"));
    connect(Widgets.DevListBox, &QListWidget::itemSelectionChanged, this, &UsbAdapterLink::UpdateConnectTooltip);
}

THidDevice *UsbAdapterLink::SelectedDevice() const
{
    const int row = Widgets.DevListBox->currentRow();
    if (row < 0 || !Widgets.DevListBox->item(row)->isSelected())
        return nullptr;
    return ListDevices[static_cast<std::size_t>(row)];
}

void UsbAdapterLink::AddHistory(const std::string &line)
{
    QListWidget *history = Widgets.HistoryListBox;
    history->addItem(qs(line));
    if (history->count() > kHistoryLines)
        delete history->takeItem(0);
    history->setCurrentRow(history->count() - 1);
}

void UsbAdapterLink::Report(const UsbReportHandler &handler, std::uint8_t ReportID, const std::uint8_t *Data,
                            std::uint16_t Size)
{
    const meter::UsbReportOutcome outcome = handler(Gathering, ReportID, Data, Size);
    if (outcome.historyLine)
        AddHistory(*outcome.historyLine);
    if (outcome.failure && Hooks.frameFailure)
        Hooks.frameFailure(*outcome.failure);
}

void UsbAdapterLink::UpdateConnectTooltip()
{
    const THidDevice *device = SelectedDevice();
    Widgets.USBCon->setToolTip(device ? QStringLiteral("Reads %1").arg(Widgets.DevListBox->currentItem()->text())
                                      : QStringLiteral("No \"USB to Serial\" adapter is present"));
}

void UsbAdapterLink::HidCtlArrival(THidDevice *HidDev) { AddHistory("Arrival of " + DeviceDisplayName(*HidDev)); }

void UsbAdapterLink::HidCtlRemoval(THidDevice *HidDev) { AddHistory("Removal of " + DeviceDisplayName(*HidDev)); }

void UsbAdapterLink::HidCtlDeviceDataError(THidDevice *, std::uint32_t Error) { AddHistory(ReadErrorLine(Error)); }

void UsbAdapterLink::HidCtlDeviceChange()
{
    Widgets.ReadBtn->setChecked(false);
    ReadBtnClick();
    ReleaseDevices();
    Widgets.DevListBox->clear();
    HidCtl.Enumerate();
    for (int row = Widgets.DevListBox->count(); row-- > 0;) {
        if (Widgets.DevListBox->item(row)->text() == QLatin1String(kAdapterProduct)) {
            Widgets.DevListBox->setCurrentRow(row);
            break;
        }
    }
    UpdateConnectTooltip();
}

void UsbAdapterLink::ReleaseDevices()
{
    for (THidDevice *device : ListDevices) {
        if (device) {
            device->SetDataHandler({});
            HidCtl.Release(device);
        }
    }
    ListDevices.clear();
    Current = nullptr;
}

bool UsbAdapterLink::HidCtlEnumerate(THidDevice *HidDev, std::int32_t Idx)
{
    Widgets.DevListBox->addItem(qs(DeviceDisplayName(*HidDev)));
    ListDevices.push_back(HidCtl.ClaimByIndex(Idx));
    return true;
}

void UsbAdapterLink::ReadBtnClick()
{
    Current = SelectedDevice();
    if (!Current)
        return;
    if (!Current->ReadWriteAccess())
        Widgets.ReadBtn->setChecked(false);
    else
        Current->SetDataHandler(Widgets.ReadBtn->isChecked() ? HidSegmentData : THidDataEvent{});
}

void UsbAdapterLink::SetFeatureClick()
{
    Current = SelectedDevice();
    if (!Current) {
        Hooks.messages(QStringLiteral("USB interface cable is not securely connected, please check and re-try."));
        Widgets.USBCon->setChecked(false);
        return;
    }
    Current->SendFeatureReport(kAdapterFeatureReport.data(), kAdapterFeatureReport.size());
    AddHistory(meter::hexBytes(kAdapterFeatureReport.data(), kAdapterFeatureReport.size()));
}

void UsbAdapterLink::USBConClick()
{
    const bool pressed = Widgets.USBCon->isChecked();
    ReadBtnClick();
    SetFeatureClick();
    // Bytes an interrupted reader left half gathered (the cable pulled mid-frame) belong to a
    // reading long gone: joined to the next frame they would be shown and logged in its place.
    Gathering = meter::UsbReports{};
    Current = SelectedDevice();
    if (!Current)
        return;
    if (!Current->ReadWriteAccess()) {
        Widgets.USBCon->setChecked(false);
        if (pressed)
            Hooks.messages(qs(NoAccessMessage(*Current)));
        return;
    }
    Current->SetDataHandler(Widgets.USBCon->isChecked() ? HidConnectData : THidDataEvent{});
}

void UsbAdapterLink::ClearBtnClick() { Widgets.HistoryListBox->clear(); }

void UsbAdapterLink::InfoBtnClick()
{
    if (THidDevice *device = SelectedDevice())
        Hooks.messages(qs(DeviceInfoText(*device)));
}

void UsbAdapterLink::UsbIdleCheck()
{
    if (!meter::usbIdleAlarm(Gathering, Hooks.idleThreshold))
        return;
    Widgets.USBCon->setChecked(false);
    if (Current)
        Current->SetDataHandler({});
    Hooks.messages(QStringLiteral("USB interface cable is securely connected, please check if the meter is ready."));
}

} // namespace kx::link
