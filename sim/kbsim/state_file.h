#pragma once
// kbsim's state file: the model's memory kept across runs, like the keyboard's flash.
#include <cstdint>
#include <string>
#include <vector>

namespace vendrel::sim {

enum class StateFileRead { Loaded, Missing, Unreadable };

StateFileRead ReadStateFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// Writes "<path>.tmp" and renames it over the file, so a crash never leaves half a state behind.
// Returns false (and keeps the old file) on any failure.
bool WriteStateFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace vendrel::sim
