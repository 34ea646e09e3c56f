// Matching a found device against a PlxPci_DeviceFind key.
#pragma once

#include "plxapi.h"

namespace PlxKey {

template <typename T>
bool fieldMatches(T wanted, T actual)
{
    return wanted == T(~T(0)) || wanted == actual; // all ones: "ignore"
}

inline bool matches(const PlxDeviceKey &wanted, const PlxDeviceKey &found)
{
    return fieldMatches(wanted.vendorId, found.vendorId) && fieldMatches(wanted.deviceId, found.deviceId)
        && fieldMatches(wanted.domain, found.domain) && fieldMatches(wanted.bus, found.bus)
        && fieldMatches(wanted.slot, found.slot) && fieldMatches(wanted.function, found.function);
}

} // namespace PlxKey
