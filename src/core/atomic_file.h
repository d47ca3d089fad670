// Writing a whole file so that a crash, a full disk or a folder that cannot
// be written never leaves half a file under its final name: the content goes
// to a temporary file in the same folder, is flushed to the disk, and the
// temporary is renamed over the final name. (The rename is not flushed apart:
// a crash right after it may leave the former file, never a part of the new one.)
#pragma once

#include <filesystem>
#include <string_view>

namespace traveno {

// Writes `content` as the whole file at `path`, replacing any file there.
// Throws OsError with "Nu pot scrie fisierul <path> !" when the folder is
// missing or cannot be written, the disk is full, or the rename fails; the
// file at `path` is then exactly as it was before and no temporary file is
// left behind.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

// The message of a file that cannot be written.
std::string CannotWriteFileMessage(const std::filesystem::path& path);

}  // namespace traveno
