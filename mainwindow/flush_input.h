#pragma once

// Drops the key, mouse-button and shortcut input that piled up while the
// window was busy, without acting on it. Other events (painting, timers)
// still run.
void FlushInput();
