#pragma once

// The program's version: stated in the start banner, the About box and every database header.
inline constexpr int kProgramVersionMajor = 1;
inline constexpr int kProgramVersionMinor = 2;
