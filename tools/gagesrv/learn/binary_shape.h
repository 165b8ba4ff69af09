#pragma once
// The value of binary records framed by length: the bytes that vary, widened over neighbouring
// 00 or FF bytes to the 4 (or 2) bytes of an integer, the side they widen to telling the byte
// order.

#include <optional>
#include <vector>

#include "gagesrv/learn/field_shapes.h"
#include "gagesrv/learn/record_framing.h"

namespace gage::learn {

// The shape of the bodies given by records (all of one length); nothing when no byte varies or
// more than four do.
std::optional<Shape> BinaryShape(const Framing& framing, const std::vector<std::size_t>& records);

}  // namespace gage::learn
