#pragma once

namespace velnora::text {

// The cooperative pause of long loops: a process-wide counter advances on every call, and every
// 30th call gives up the processor for the given time (0: let other threads run, then go on).
void Yield(int milliseconds);

}  // namespace velnora::text
