#pragma once
// The program's name and version as its files and log record them.

inline constexpr const char* PROGRAM_NAME = "quarvel";
inline constexpr const char* PROGRAM_VERSION = "v1.4.0";
