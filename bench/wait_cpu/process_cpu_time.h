#pragma once
// CPU time (user and system) this process has used so far, in seconds.

namespace gage::bench {

double ProcessCpuSeconds();

}  // namespace gage::bench
