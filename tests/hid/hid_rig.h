#pragma once

#include "link/hid_device_controller.h"
#include "tests/support/test_hid_platform.h"

#include <QTest>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kx::link::test {

inline TestHidDevice adapter(std::string id)
{
    TestHidDevice device;
    device.InstanceID = std::move(id);
    return device;
}

// A controller on the test platform that records its plug events as "arrival X", "removal X",
// "change", where X is the device's instance.
struct HidRig {
    void start()
    {
        controller.emplace(platform);
        controller->SetOnArrival([this](THidDevice *d) { events.push_back("arrival " + d->PnPInfo().InstanceID); });
        controller->SetOnRemoval([this](THidDevice *d) { events.push_back("removal " + d->PnPInfo().InstanceID); });
    }
    THidDeviceController &ctl() { return *controller; }
    std::vector<std::string> instances() const
    {
        std::vector<std::string> ids;
        for (std::int32_t i = 0; i < controller->Count(); ++i)
            ids.push_back(controller->Devices(i)->PnPInfo().InstanceID);
        return ids;
    }
    // Runs the event loop until the platform's pending notices have been handled.
    void settle()
    {
        QTest::qWait(20);
    }

    std::shared_ptr<TestHidPlatform> platform = std::make_shared<TestHidPlatform>();
    std::optional<THidDeviceController> controller;
    std::vector<std::string> events;
};

} // namespace kx::link::test
