// The header of a Paradox table and the chain of its data blocks, read and
// checked before the table is handed to the reading library. The library
// trusts what a header says: a damaged record count, block size, block
// number or block link makes it read the wrong bytes, and a link that leads
// back into the chain (or past the end of the file, where the last link read
// stays in place) makes its open call follow the chain for ever. Every field
// it relies on is therefore checked here against the file itself: the block
// chain is walked from its first block to its end as the library walks it,
// so a table that passes is one the library reads to its end.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace traveno::legacy {

// A header or block chain that cannot be trusted; what() is the fault in the
// program's words ("antetul este deteriorat", "fisierul este trunchiat", ...).
class ParadoxDamage : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The fields of a table as its header declares them.
struct ParadoxHeaderField {
  std::string name;
  int type = 0;
  int length = 0;  // bytes in a record
};

struct ParadoxHeader {
  int record_size = 0;
  int header_size = 0;
  int block_size = 0;  // bytes of one data block
  int file_type = 0;
  int version_id = 0;
  int record_count = 0;
  int file_blocks = 0;
  int code_page = 0;  // 0 when the header declares none
  std::vector<ParadoxHeaderField> fields;
};

// Reads the header of the table open in `file` (`size` bytes long) and walks
// its block chain. Throws ParadoxDamage when the file is not a data table,
// is shorter than its header says, is protected by a password, or when a
// header field or a block link does not hold (a block outside the file, a
// block met twice, a back link that does not name the previous block, a
// block's record count past its size, a chain whose records differ from the
// header's count or that does not end on the header's last block). Leaves
// the file's position undefined.
ParadoxHeader CheckParadoxHeader(std::FILE* file, std::uintmax_t size);

}  // namespace traveno::legacy
