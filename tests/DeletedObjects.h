#pragma once
// A test program that links DeletedObjects.cpp overwrites every object it deletes and
// keeps its memory until ReleaseDeletedObjects: a use after deletion then follows garbage
// pointers, which the access guard (ControlTreeFixture.h) records, instead of reading what
// was left behind or what the heap put there since. For objects that delete themselves,
// such as windows whose native window is gone, and for the controls they own.

namespace VeneerTest {

// Frees the memory of the objects deleted so far.
void ReleaseDeletedObjects();

}  // namespace VeneerTest
