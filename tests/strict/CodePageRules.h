#pragma once
// The code-page rules of the strict test bed (README.md): WideCharToMultiByte and
// MultiByteToWideChar refuse the flags that Windows refuses for a code page, and a test may
// give the process another ANSI code page, as the system's setting would.

namespace LorvikStrict {

// The ANSI code page that GetACP answers and CP_ACP means in the wrapped calls; 0 gives the
// system's back.
void ForceAnsiCodePage(unsigned codePage);

}  // namespace LorvikStrict
