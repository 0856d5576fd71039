#pragma once
// Code of the toolkit leaves the upper halves of the processor's wide (AVX)
// vector registers in use. Until they are cleared, every older SSE
// instruction waits on them: the key derivation of the draw database (SHA-1
// in SSE) and the copies around it ran at half speed in the main window
// (56 ms instead of 29 ms). Cleared before that work, they cost nothing.
namespace n4 {

// vzeroupper where the processor has AVX; nothing elsewhere.
void clearUpperVectorState();

} // namespace n4
