#pragma once

// Keeps blocks of up to 32 MB, and up to 64 MB freed at the heap's top, on
// the heap instead of mapping and unmapping them each time. Qt's PDF engine
// takes two 10 MB buffers for every page it compresses: with the C library's
// usual thresholds each became a fresh mapping, faulted in and unmapped
// again, and printing 32767 postcards to a PDF mostly took 13 to 25 s; with
// these, mostly about 5.
// Call it once, first thing in main().
void TuneHeapForLargeBuffers();
