// Extra C API of the simulated ControlCAN library, for tests, benchmarks
// and the demo. Devices are (type, index) with index 0..7; all channels of
// one device sit on one simulated bus. Every function is thread-safe.
//
// Simulation rules that hold for every frame a channel receives (from
// another channel, from VCISIM_InjectFrames or from background traffic):
// - the channel must be started (not merely initialised, not reset) on an
//   open device;
// - its acceptance filter must pass the frame (SJA1000 PeliCAN rules,
//   single or dual filter);
// - it is stored as a controller receives it: ID masked to 11 or 29 bits,
//   flags 0/1, DataLen clamped to 8, data bytes beyond DataLen (all of a
//   remote frame) 0, SendType and Spare 0, HasDeviceTime 1, DeviceTime in
//   0.1 ms since the device was first opened (monotonic clock, never 0).
// Frames of other channels and background frames must also come at the
// channel's bit rate (from BTR0/BTR1, 16 MHz clock); injected frames are
// taken to be at the channel's rate.
// A full receive store (VCISIM_RX_CAPACITY) keeps its oldest frames, drops
// new ones and queues one 0xE1 error event per overflow episode; an
// episode ends when frames are taken out (VCI_Receive returning frames or
// VCI_ClearBuffer).
//
// The test settings (status, transmit limit) survive closing and opening
// a device; frames, errors, references and counters start afresh when a
// closed device is opened. VCISIM_ResetAll forgets everything.
// C++ only (vci.h uses constexpr); link the ControlCAN target.
#pragma once

#include "vci.h"

#define VCISIM_EXPORT __attribute__((visibility("default")))

extern "C" {

// Frames as if another node on the bus sent them at the channel's bit rate:
// each is stored in the channel's receive store when the channel is started
// and its acceptance filter passes it. Returns the number stored (0 for a
// device that is not open, a bad channel or a null pointer; frames dropped
// on overflow are not counted). They count as received, not as generated.
VCISIM_EXPORT uint32_t VCISIM_InjectFrames(uint32_t devType, uint32_t devIndex, uint32_t canIndex,
                                     const VCI_CAN_OBJ *frames, uint32_t count);

// Queues an error event for VCI_ReadErrInfo. Returns 1, or 0 for a device
// that is not open, a channel out of range, a null pointer, or when the
// channel's error store already holds VCISIM_ERR_CAPACITY events (the event
// is then dropped).
VCISIM_EXPORT uint32_t VCISIM_InjectError(uint32_t devType, uint32_t devIndex, uint32_t canIndex,
                                    const VCI_ERR_INFO *error);

// Sets what VCI_ReadCANStatus reports for the channel (error counters, bus off).
// Works whether or not the device is open and stays until changed or
// VCISIM_ResetAll. The counters also fill bytes 1 and 2 of the 0xE1 events.
// Returns 1, or 0 for an index above 7, a channel out of range or a null pointer.
VCISIM_EXPORT uint32_t VCISIM_SetStatus(uint32_t devType, uint32_t devIndex, uint32_t canIndex,
                                  const VCI_CAN_STATUS *status);

// limit < 0: VCI_Transmit accepts every frame (the default);
// limit == 0: VCI_Transmit fails (returns 0, sends nothing);
// limit > 0: VCI_Transmit accepts at most limit frames per call.
// Only the accepted (first) frames of a call go on the bus. Works whether
// or not the device is open and stays until changed or VCISIM_ResetAll.
// Returns 1, or 0 for an index above 7 or a channel out of range.
VCISIM_EXPORT uint32_t VCISIM_SetTransmitLimit(uint32_t devType, uint32_t devIndex, uint32_t canIndex,
                                         int32_t limit);

// Background traffic: a node on the device's bus at bitRate (bit/s) sends
// framesPerSecond frames, a standard data frame with id and 8 data bytes
// whose first four bytes count frames little-endian. The frames reach every
// started channel of the device at that bit rate whose filter passes them.
// framesPerSecond 0 stops the traffic. Works whether or not the device is
// open; traffic of a device stops when its last handle closes.
// Details: id is masked to 11 bits; data bytes 4..7 are 0; the counter
// starts at 0 with each call and counts every frame put on the bus, heard
// or not. One node per device: a new call replaces the previous traffic.
// Frames are sent in batches on a ~1 ms tick against a steady clock, so the
// long-run rate is exact; after a stall of over a second the backlog beyond
// one second is skipped. Returns 1, or 0 for an index above 7, a rate above
// 1,000,000 frames/s, or bitRate 0 with a non-zero rate.
//
// The environment variable VCISIM_DEMO_TRAFFIC="<bit rate>:<id hex>:<frames
// per second>" (for instance "500000:0x123:50") starts the same traffic on
// every device when its first handle opens, so that a program linked to
// nothing but the VCI_ functions sees live frames. A malformed value or a
// refused rate is reported on stderr and ignored.
VCISIM_EXPORT uint32_t VCISIM_SetBackgroundTraffic(uint32_t devType, uint32_t devIndex, uint32_t bitRate,
                                             uint32_t id, uint32_t framesPerSecond);

struct VCISIM_STATS {
    uint64_t received;     // frames stored in the channel's receive store
    uint64_t dropped;      // frames lost because the receive store was full
    uint64_t transmitted;  // frames accepted by VCI_Transmit on this channel
    uint64_t generated;    // background frames offered to this channel
};
// "generated" counts the background frames that reached the channel's
// receive store: the channel was started at the traffic's bit rate and its
// filter passed them; each was then either stored (also counted in
// received) or dropped (also counted in dropped).

// Counters of a channel since the device was opened (from closed; a second
// handle does not reset them). They stay readable after the device closes.
// Returns 1 (all zero for a device never used), or 0 for an index above 7,
// a channel out of range for the type or a null pointer.
VCISIM_EXPORT uint32_t VCISIM_GetStats(uint32_t devType, uint32_t devIndex, uint32_t canIndex,
                                 VCISIM_STATS *stats);

// Closes every device and forgets every setting (between test cases).
// Stops all background traffic; threads blocked in VCI_Receive return 0.
VCISIM_EXPORT void VCISIM_ResetAll(void);

// Frames a receive store holds before it drops new ones.
constexpr uint32_t VCISIM_RX_CAPACITY = 65536;
// Error events a channel keeps before it drops new ones.
constexpr uint32_t VCISIM_ERR_CAPACITY = 1024;

}
