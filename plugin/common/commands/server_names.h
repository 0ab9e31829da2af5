// Names of the module's servers, as the host and the commands know them.
#pragma once

namespace lwp {

inline constexpr const char *kKeySetterName = "QD:VaruDudEdodav";
inline constexpr const char *kKeyDeleterName = "QD:RozaRivAvudivo";
inline constexpr const char *kMasterName = ".QD:ZaraRazEzedud";
inline constexpr const char *kClipSaveName = "QD:ZaduDuzAVSave";
inline constexpr const char *kClipLoadName = "QD:ZaduDuzAVLoad";
// The clip tools name themselves so in their start and done lines.
inline constexpr const char *kClipToolName = "QD:ZaduDuzAV";

// Every tool's title reads NAME(MAJOR.MINOR) build DATE.
inline constexpr const char *kTitleFormat = "%s(%d.%02d)%s";
inline constexpr const char *kBuildSuffix = " build 250619";

}  // namespace lwp
