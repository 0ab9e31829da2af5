// The Windows XML parser is a COM object: COM must be started on the
// calling thread before a document is created.
#pragma once

namespace lwp::platform {

// Starts COM for the calling thread the first time it succeeds in this
// process and never again after; a failure is not reported here (creating
// a document then fails and says why). Nothing to do on POSIX.
void startComOnce() noexcept;

}  // namespace lwp::platform
