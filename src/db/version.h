#pragma once

#include <QString>

// The program's version: stated in the start banner, the About box and every database header.
inline constexpr int kProgramVersionMajor = 1;
inline constexpr int kProgramVersionMinor = 2;
// Follows the numbers after a blank; empty in this release, the blank stays all the same.
inline constexpr char16_t kProgramVersionSuffix[] = u"";

// "Tankometer 1.2 ": the name, the version and its suffix, as the banner and the About box
// show them.
inline QString programVersionLine() {
    return QStringLiteral("Tankometer %1.%2 %3")
        .arg(kProgramVersionMajor)
        .arg(kProgramVersionMinor)
        .arg(QString::fromUtf16(kProgramVersionSuffix));
}
