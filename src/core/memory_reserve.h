// Memory about to be filled at once (a month's rows read into a vector
// sized for them): its pages are made present in one call to the kernel
// instead of one fault per page on first touch, which costs much more per
// page on virtual machines; blocks of megabytes are offered large pages
// too. Only for large blocks; anything else is left to fault as usual.
#pragma once

#include <cstddef>

namespace traveno {

// Makes the pages of [data, data + bytes) present and writable. Does nothing
// for blocks under a few hundred kilobytes, or where the system cannot.
void PrefaultForWriting(void* data, std::size_t bytes);

}  // namespace traveno
