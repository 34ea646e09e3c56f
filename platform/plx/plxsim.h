// Simulated boards of the PlxApi library, for tests, benchmarks and the
// demo, and the calls that act on their CAN bus. Every function is
// thread-safe.
//
// PLXSIM_BOARDS="0x2210,0x1400" (PCI device ids, hexadecimal, comma
// separated) puts simulated boards of vendor 0x10B5 in place of the Linux
// PCI tree, found in that order. Known ids and what sits behind their BARs
// (SJA1000 controllers, 128 registers each, numbered as the board's
// channels):
//   0x2210  BAR 2 (512 bytes): controller 0 at 0, controller 1 at 256
//   0x2110  BAR 2 (512 bytes): controller 0 at 0 (nothing at 256)
//   0x5201  BAR 2, BAR 3 (128 bytes each): controllers 0, 1
//   0x1101  BAR 2: controller 0
//   0x1400  BAR 5, 4, 3, 2: controllers 0, 1, 2, 3
// Any other id is a PLX device without controllers or BARs. Bytes of a BAR
// without a controller read 0xFF. Every board has a 256-byte EEPROM:
// words at 112, 114, 116, 118 hold versions 0x0103, 0x0204, 0x0105, 0x0206
// (hardware, driver, firmware, interface) and 144, 146, 148 the serial
// number: the device id, 0x5A00 + the board's position in the list, 0x0001.
//
// The controllers of one board share one bus with a partner node that
// acknowledges every frame (unless switched off) and can send frames and
// background traffic. The bus keeps time: a frame occupies it for its
// length in bits (stuff bits and CRC as sent) at its bit rate, one frame
// at a time per bit rate; waiting frames (controllers' requests, the
// partner's frames, background traffic) go in arbitration order. A
// controller's transmission completes, and a receiving controller gets the
// frame, when the frame's bus time has passed.
//
// Overload switch, for stress runs only: PLXSIM_OVERLOAD=1 (read when the
// boards are configured) or PLXSIM_SetOverload: frames take no bus time,
// so a node can put more on the bus than it carries. PLXSIM_DEMO_TRAFFIC="<bit rate>:<id hex>:<frames
// per second>" gives every board that traffic while it is open.
// C++ only (vci.h); link the PlxApi target.
#pragma once

#include "vci.h"

#define PLXSIM_EXPORT __attribute__((visibility("default")))

extern "C" {

// Replaces the simulated boards: the list as in PLXSIM_BOARDS, "" for none,
// or nullptr to follow the environment again (the Linux tree when
// PLXSIM_BOARDS is unset). Every open device of the library is closed.
PLXSIM_EXPORT void PLXSIM_SetBoards(const char *boards);
// Number of simulated boards (0 while the Linux tree is used).
PLXSIM_EXPORT uint32_t PLXSIM_BoardCount(void);

// The partner sends frames at bitRate (bit/s), in their order, each when
// it wins the bus; returns once the last one's bus time has passed (or the
// board was reset). DataLen is the data length code (0..15; 9..15 carry 8
// bytes). Each reaches every controller in operating mode at that rate
// whose acceptance filter passes it, or is lost to a full FIFO there.
// Returns the number of frames stored by at least one controller; 0 for a
// bad board or a null pointer.
PLXSIM_EXPORT uint32_t PLXSIM_SendFrames(uint32_t board, uint32_t bitRate, const VCI_CAN_OBJ *frames,
                                         uint32_t count);
// Partner acknowledges (1, the default) or is silent (0): a frame of a
// controller then completes only if another controller of the board at
// the same rate acknowledges it. Returns 1, 0 for a bad board.
PLXSIM_EXPORT uint32_t PLXSIM_SetAcknowledge(uint32_t board, uint32_t acknowledge);
// Background traffic from the partner: standard frames with id whose bytes
// 0..3 count the frames queued (little-endian, from 0), framesPerSecond at
// bitRate, queued by the schedule and carried by the bus. A rate above
// what the bus carries is carried at its capacity: frames that find the
// partner's queue (256 frames) full are not sent and counted (notCarried).
// 0 frames per second stops. Returns 1, 0 for a bad board, a rate above
// PLXSIM_MAX_TRAFFIC (25,000 frames/s) or bit rate 0 with a rate.
PLXSIM_EXPORT uint32_t PLXSIM_SetTraffic(uint32_t board, uint32_t bitRate, uint32_t id,
                                         uint32_t framesPerSecond);

// Data length code of the background frames (0..8, default 8; with fewer
// than 4 bytes the counter is cut). Takes effect at the next
// PLXSIM_SetTraffic. Returns 1, 0 for a bad board or length.
PLXSIM_EXPORT uint32_t PLXSIM_SetTrafficLength(uint32_t board, uint32_t dataLength);
// The overload switch of the board (see above): 1 on, 0 off. Returns 1 or
// 0 for a bad board.
PLXSIM_EXPORT uint32_t PLXSIM_SetOverload(uint32_t board, uint32_t overload);
// Holds the board's interrupt back from the host (1), as a host that is
// late to serve it, or lets it through again (0). Returns 1 or 0.
PLXSIM_EXPORT uint32_t PLXSIM_HoldInterrupt(uint32_t board, uint32_t hold);

// A bus error seen by a controller: ecc as its error code capture register
// encodes it (bit 5 set: while receiving, RXERR + 1; else TXERR + 8, bus
// off past 255). Ignored in reset mode. Returns 1, 0 for a bad controller.
PLXSIM_EXPORT uint32_t PLXSIM_BusError(uint32_t board, uint32_t controller, uint8_t ecc);
// The controller lost arbitration at bitNumber (0..31). Returns 1 or 0.
PLXSIM_EXPORT uint32_t PLXSIM_ArbitrationLost(uint32_t board, uint32_t controller, uint8_t bitNumber);
// A dead controller (0) reads 0xFF and ignores writes. Returns 1 or 0.
PLXSIM_EXPORT uint32_t PLXSIM_SetControllerPresent(uint32_t board, uint32_t controller, uint32_t present);
// A register's value without the effects of reading it. Returns 1 or 0.
PLXSIM_EXPORT uint32_t PLXSIM_PeekRegister(uint32_t board, uint32_t controller, uint8_t reg, uint8_t *value);
// Threads blocked in PlxPci_NotificationWait on the board's notifications,
// so that a test can act once a wait has begun. 0 for a bad board.
PLXSIM_EXPORT uint32_t PLXSIM_NotificationWaiters(uint32_t board);
// Holds the time-outs of the board's notification waits (1): a wait ends
// only by an interrupt let through or a cancel, as if its host never got
// to run the time-out; released (0), a wait past its time-out ends with
// it. With PLXSIM_HoldInterrupt, a test keeps a driver from any round of
// its receive thread until it lets go. Returns 1 or 0.
PLXSIM_EXPORT uint32_t PLXSIM_HoldTimeouts(uint32_t board, uint32_t hold);

struct PLXSIM_STATS {
    uint64_t received;    // controller: messages stored in its FIFO
    uint64_t overruns;    // controller: messages lost to a full FIFO
    uint64_t transmitted; // controller: its transmissions completed
    uint64_t generated;   // board: background frames the bus carried
    uint64_t notCarried;  // board: background frames over the bus's capacity
    uint64_t interrupts;  // board: interrupts raised to the host
    uint64_t requested;   // controller: transmissions the host asked for (a retry after an abort counts again)
};
// Counters since the boards were configured; controller 0xFFFFFFFF gives
// the board's (only its fields are set). Returns 1, 0 for a bad index or a
// null pointer.
PLXSIM_EXPORT uint32_t PLXSIM_GetStats(uint32_t board, uint32_t controller, PLXSIM_STATS *stats);

constexpr uint32_t PLXSIM_BOARD = 0xFFFFFFFFu;
constexpr uint32_t PLXSIM_MAX_TRAFFIC = 25000; // above what 1 Mbit/s carries of the shortest frames
}
