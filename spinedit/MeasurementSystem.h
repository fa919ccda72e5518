#pragma once
// The measurement system of the installation: inch when the current user's
// "Software\Varnholt\Dravenset\Settings" key has a non-zero "DefaultUnit",
// metric otherwise. A field reads it once, when it is made.

// Reads up to four bytes of the value as a little-endian 32-bit number,
// whatever its type; a missing key or value, a longer value or any other
// failure means metric.
[[nodiscard]] bool ReadInchSystem();
