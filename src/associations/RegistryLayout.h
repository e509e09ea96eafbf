// Names of what registration writes and unregistration removes; key paths are
// relative to the root of the registry tree and use '\' between components.
#pragma once

namespace orvanel::layout {

// The file class, its display name and what an extension's default value names.
inline constexpr char16_t kClassName[] = u"Orvanel";

inline constexpr char16_t kAllFilesShell[] = u"*\\shell\\";
inline constexpr char16_t kCommand[] = u"\\command";
inline constexpr char16_t kShellOpenCommand[] = u"\\shell\\open\\command";
inline constexpr char16_t kShellOpen[] = u"\\shell\\open";
inline constexpr char16_t kShell[] = u"\\shell";
inline constexpr char16_t kDefaultIcon[] = u"\\DefaultIcon";
inline constexpr char16_t kApplications[] = u"Applications\\";
inline constexpr char16_t kOpenWithProgids[] = u"\\OpenWithProgids";
// The same key's own name, below an open extension key.
inline constexpr char16_t kOpenWithProgidsName[] = u"OpenWithProgids";

// Held as plain text (REG_SZ): the shell resolves the reference itself.
inline constexpr char16_t kIcon[] = u"@%SystemRoot%\\System32\\shell32.dll, 1";

// The verb name that unregistration removes: fixed, not the string resource.
inline constexpr char16_t kOpenWithVerb[] = u"Open with";

// The key's unnamed value.
inline constexpr char16_t kDefaultValue[] = u"";

}  // namespace orvanel::layout
