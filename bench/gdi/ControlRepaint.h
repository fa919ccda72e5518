#pragma once
// Full repaints of every built control, registered as benchmarks named
// "Repaint/<class>", each beside "memset/<class>", a plain fill of the same
// pixels.
namespace kw::bench {

void RegisterControlRepaints();

} // namespace kw::bench
