// The clip save panel of QD:ZaduDuzAVSave.
#pragma once

namespace lwp::akio {

// Builds the panel once per process and opens it non-blocking; the
// activation's result.
int activateSavePanel();

}  // namespace lwp::akio
