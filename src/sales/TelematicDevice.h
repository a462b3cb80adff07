#pragma once

#include "register/NetworkFiscalDevice.h"

#include <memory>

namespace corvale {

// The telematic register an operation on stored sales talks to: made on first
// use, with its end reported to the owner's `onFinished`, and given the
// register settings of now on every use.
template <class Owner>
NetworkFiscalDevice &telematicDevice(std::unique_ptr<NetworkFiscalDevice> &device, Owner *owner,
                                     void (Owner::*onFinished)(const FiscalOutcome &),
                                     const RegisterSettings &settings) {
    if (!device) {
        device = std::make_unique<NetworkFiscalDevice>();
        QObject::connect(device.get(), &FiscalDevice::finished, owner, onFinished);
    }
    device->setSettings(settings);
    return *device;
}

} // namespace corvale
