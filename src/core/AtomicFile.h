// Writing a user's file without ever leaving it half written: the new content goes to a
// temporary file in the same folder, which replaces the target only after every byte was
// written. On any failure the target keeps its old content, byte for byte.
#pragma once

#include <QIODevice>
#include <functional>
#include <string>
#include <string_view>

namespace sabrix {

// Opens a temporary file beside path, lets writer fill it, then renames it over path.
// Returns when path holds exactly what writer wrote. Throws SabrixError (with the system's
// description) when the temporary file cannot be made, written or renamed; an exception from
// writer is passed on. In every failure path stays unchanged and no temporary file is left.
void WriteFileAtomically(const std::string& path, const std::function<void(QIODevice&)>& writer);

// Copies the file from to the file to, replacing to atomically (see WriteFileAtomically).
// Throws SabrixError when from cannot be read or to cannot be written; to is then unchanged.
void CopyFileAtomically(const std::string& from, const std::string& to);

// Writes all bytes to out. Throws SabrixError with the device's description when it refuses
// a write; out may then hold the bytes written before.
void WriteAllBytes(QIODevice& out, std::string_view bytes);

}  // namespace sabrix
