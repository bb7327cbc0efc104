// What every test process gets: its own scratch folder that serves as drive C:,
// the headless screen, and the path of the checked-in fixtures.
#pragma once
#include <string>

namespace testenv {

// Native path of this process's scratch folder (removed when the process ends).
const std::string& ScratchDir();
// Native path of the C: drive of this process (inside the scratch folder).
const std::string& DriveC();
// Native path of a fixture under tests/data.
std::string DataPath(const std::string& name);
// Native path of the build folder (where lumora, setup and the libraries are).
std::string BinaryDir();

}  // namespace testenv
