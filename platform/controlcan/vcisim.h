// Extra C API of the simulated ControlCAN library, for tests, benchmarks
// and the demo. Devices are (type, index) with index 0..7; all channels of
// one device sit on one simulated bus. Every function is thread-safe.
//
// Bus time: a frame occupies the bus for its length in bits (start of
// frame to intermission, stuff bits and CRC-15 computed from its bits, see
// framebits.h) at its sender's bit rate. The bus carries one frame at a
// time; frames waiting for it go in arbitration order (lowest identifier
// first, standard before extended at equal base ID, data before remote).
// Sources of frames: each channel's transmit queue (VCI_Transmit), the
// injecting node (VCISIM_InjectFrames) and the background node. A frame
// reaches the receivers at the end of its bus time and is stamped with
// that time; the bus thread hands frames out at most about 1 ms late.
// Overload mode (VCISIM_SetOverload, VCISIM_OVERLOAD) drops all of this:
// frames reach the receivers inside the call that sends them, at any rate.
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
//   0.1 ms since the device was first opened (end of the frame's bus time,
//   monotonic clock, never 0).
// Frames of other channels and background frames must also come at the
// channel's bit rate (from BTR0/BTR1, 16 MHz clock); injected frames are
// taken to be at the channel's rate.
// A full receive store (VCISIM_RX_CAPACITY) keeps its oldest frames, drops
// new ones and queues one 0xE1 error event per overflow episode; an
// episode ends when frames are taken out (VCI_Receive returning frames or
// VCI_ClearBuffer).
//
// The test settings (status, transmit limit, overload) survive closing and opening
// a device; frames, errors, references and counters start afresh when a
// closed device is opened. VCISIM_ResetAll forgets everything.
// C++ only (vci.h uses constexpr); link the ControlCAN target.
#pragma once

#include "vci.h"

#define VCISIM_EXPORT __attribute__((visibility("default")))

extern "C" {

// Frames as if another node on the bus sent them at the channel's bit rate,
// heard by that channel only: they wait for the bus in the node's queue
// (VCISIM_INJECT_CAPACITY at most) and each is stored in the channel's
// receive store at the end of its bus time when the channel is still
// started and its acceptance filter passes it. Returns the number queued
// (0 for a device that is not open, a channel not started, a bad channel or
// a null pointer). In overload mode they are stored at once and the number
// stored is returned. They count as received, not as generated.
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
// Only the accepted (first) frames of a call go on the bus. The limit
// applies before the transmit queue's own bound. Works whether
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
// Frame n falls due n/framesPerSecond s after the call (or after the open,
// when set while closed) and waits for the bus like any other; the node
// holds one frame, so frames that fall due while its frame still waits are
// not carried (counted in notCarried). A rate above the bus's capacity is
// therefore carried at that capacity. In overload mode frames are sent in
// batches on a ~1 ms tick at the asked rate, whatever the bus could carry;
// after a stall of over a second the backlog beyond one second is skipped.
// Returns 1, or 0 for an index above 7, a rate above 1,000,000 frames/s,
// or bitRate 0 with a non-zero rate.
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
    uint64_t carried;      // frames the device's bus carried (every source)
    uint64_t notCarried;   // background frames the bus could not carry
};
// carried and notCarried are the device's bus counters, the same on every
// channel; both stay 0 in overload mode.
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

// Overload on purpose, for receive-path stress benchmarks only: on (non-zero)
// the device, from its next open from closed on, has no bus time, no
// transmit queue bound and no capacity limit, as if its nodes could exceed
// the bus. The environment variable VCISIM_OVERLOAD (any value but "" or
// "0") does the same for every device. Stays until changed or
// VCISIM_ResetAll. Returns 1, or 0 for an index above 7.
VCISIM_EXPORT uint32_t VCISIM_SetOverload(uint32_t devType, uint32_t devIndex, uint32_t enable);

// Closes every device and forgets every setting (between test cases).
// Stops all background traffic; threads blocked in VCI_Receive return 0.
VCISIM_EXPORT void VCISIM_ResetAll(void);

// Frames a receive store holds before it drops new ones.
constexpr uint32_t VCISIM_RX_CAPACITY = 65536;
// Frames a channel's transmit queue holds; VCI_Transmit takes what fits.
constexpr uint32_t VCISIM_TX_QUEUE_DEPTH = 256;
// Longest a VCI_Transmit call waits for room in a full transmit queue, ms;
// it then returns the number of frames it could queue.
constexpr uint32_t VCISIM_TX_WAIT_MS = 100;
// Frames VCISIM_InjectFrames keeps waiting for the bus, per device.
constexpr uint32_t VCISIM_INJECT_CAPACITY = 262144;
// Error events a channel keeps before it drops new ones.
constexpr uint32_t VCISIM_ERR_CAPACITY = 1024;

}
