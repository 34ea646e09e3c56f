#include "plxstatusname.h"

namespace {

constexpr uint32_t kFirst = 512;
const wchar_t *const kNames[] = {
    L"OK",           L"FAILED",         L"NULL_PARAM",     L"UNSUPPORTED",   L"NO_DRIVER",
    L"INVALID_OBJECT", L"VER_MISMATCH", L"INVALID_OFFSET", L"INVALID_DATA",  L"INVALID_SIZE",
    L"INVALID_ADDR", L"INVALID_ACCESS", L"INSUFFICIENT_RES", L"TIMEOUT",     L"CANCELED",
    L"COMPLETE",     L"PAUSED",         L"IN_PROGRESS",    L"PAGE_GET_ERROR", L"PAGE_LOCK_ERROR",
    L"LOW_POWER",    L"IN_USE",         L"DISABLED",       L"PENDING",       L"NOT_FOUND",
    L"INVALID_STATE", L"BUFF_TOO_SMALL", L"?UNKNOWN?",
};

} // namespace

const wchar_t *plxStatusName(uint32_t status)
{
    const uint32_t count = sizeof kNames / sizeof kNames[0];
    return status >= kFirst && status - kFirst < count ? kNames[status - kFirst] : kNames[count - 1];
}
