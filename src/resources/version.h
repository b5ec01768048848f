#pragma once
// The program's version, written here once: the version resource, the help
// page, CMake and the release package all read it from this file.
#define QUILLORY_VERSION_MAJOR 1
#define QUILLORY_VERSION_MINOR 0
#define QUILLORY_VERSION_TEXT "1.0"
