#pragma once

// Drops the key, mouse-button and shortcut input that piled up while the
// window was busy, without acting on it. Timers do not run meanwhile, and a
// request to close a window is kept for after the command that called this.
void FlushInput();
