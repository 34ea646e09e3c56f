// The byte span of frame data carried by the DBC and charging windows'
// signals, known to the meta-type system as "gsl::span<uint8_t>". A queued
// span carries only pointer and count: its bytes must stay unchanged until
// the receiving slot has run.
#pragma once

#include <gsl/span>

#include <QMetaType>

#include <cstdint>

Q_DECLARE_METATYPE(gsl::span<uint8_t>)

// Registers the type under its name (once; later calls only return the id).
int registerByteSpanMetaType();
