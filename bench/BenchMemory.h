#pragma once

// How a benchmark's process holds the memory its parts free, so that what is measured is the work and not
// the allocator's history. The two serve opposite kinds of benchmark on purpose.
namespace kestrix::bench {

// For one-shot parts (a load, an import): called before each, so that it starts as a new process would;
// the memory earlier parts freed is given back to the system, and no part finds its heap already grown.
void startCold();

// For work repeated round after round: memory freed by one round is kept for the next. Otherwise the
// allocator gives it back or keeps it depending on what the rounds before freed, and sizes would be
// measured with and without fresh pages by chance.
void keepFreedMemory();

} // namespace kestrix::bench
