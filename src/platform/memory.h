#pragma once

// How the program's memory is handed out and back.

namespace platform {

// Every large block (a picture of a control or a screen, a decoded cover) gets memory of its own
// from the system and gives it back when freed. Without this the allocator serves such blocks
// from its heap after the first few and keeps what they leave behind, so an idle jukebox would
// hold tens of megabytes of pictures it drew once during start-up. Called first thing in main.
void returnLargeBlocksWhenFreed();

// Every thread allocates from the one heap. Otherwise each thread that allocates gets an arena of
// its own, up to eight per core, and the free memory an arena keeps after its thread's burst of
// work (the start's pictures scaled and made on workers, the media player's threads) stays
// resident while the jukebox idles: about 4 MB. Each thread keeps a cache of freed small blocks, so
// the heap's lock is seldom waited for. Called first thing in main, before any thread starts.
void shareOneHeap();

// Hands the free memory the allocator still holds (in the heap and in the arenas of worker
// threads) back to the system; for the end of a burst of work such as the cover load.
void returnFreeMemory();

} // namespace platform
