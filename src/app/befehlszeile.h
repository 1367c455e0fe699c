#pragma once

#include <optional>

// The program's own options, answered before any window or display is needed:
// "--help"/"-h" and "--version"/"-v" print their text and end the program. Every other
// argument (a course-list file, the options of Qt itself) is left to the start-up.
namespace Befehlszeile {
// The exit code when an option was answered; nothing when the program is to start.
std::optional<int> Beantworten(int argc, char** argv);
} // namespace Befehlszeile
