// The clip load panel of QD:ZaduDuzAVLoad.
#pragma once

namespace lwp::akio {

// Builds the panel once per process and opens it non-blocking; the
// activation's result.
int activateLoadPanel();

}  // namespace lwp::akio
