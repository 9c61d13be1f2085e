#pragma once

// Keeps blocks of up to 32 MB, and up to 64 MB freed at the heap's top, on
// the heap instead of mapping and unmapping them each time. Qt's PDF engine
// takes two 10 MB buffers for every page it compresses: with the C library's
// usual thresholds each became a fresh mapping, faulted in and unmapped
// again (half a million page faults), and printing 32767 postcards to a PDF
// took 17 to 24 s instead of 4.7.
// Call it once, first thing in main().
void TuneHeapForLargeBuffers();
