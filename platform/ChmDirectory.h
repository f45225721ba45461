#pragma once

#include <cstdint>

// libchm trusts the structure of a help file: it walks the directory pages by
// the page numbers stored in them and never notices a loop (a listing page
// whose "next" leads back, an index page whose child is an ancestor: listing
// or finding an object runs for ever), and it divides by and allocates from
// the records of the compressed section unchecked, already while opening
// (fuzzing found all of these). This checks the raw file before libchm is let
// loose on it: no page reachable from the directory header leads back to
// itself, every reachable page parses within its own bounds, and the
// compression records are usable.
bool ChmFileIsSound(int fd, std::int64_t fileSize);
