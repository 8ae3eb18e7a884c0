#pragma once
// The heap's live blocks, counted by wrapping malloc and its kin at link time: a test
// program that links HeapCounter.cpp adds the options of lorvik_count_heap (tests/
// CMakeLists.txt). The framework's own heap, operator new and the C++ library all
// allocate through them; the platform's own heaps do not.

namespace VeneerTest {

// Blocks allocated and not yet freed.
long LiveHeapBlocks();

}  // namespace VeneerTest
