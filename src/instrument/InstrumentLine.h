#pragma once

#include <cstdint>

// The instrument's serial line as both front ends open it: its speed, and the time the
// instrument takes to settle once its port has opened, before it is asked anything.
inline constexpr std::uint32_t kInstrumentBaudRate = 38400;
inline constexpr std::uint32_t kSettleAfterOpenMs = 2000;
