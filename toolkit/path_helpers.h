#pragma once
#include <QString>
#include <cstdint>

// The text before the first NUL: "abc\0\0x" gives "abc"; a text without NUL comes back whole,
// spaces included.
QString TrimAtNul(const QString& buffer);

enum class PathPart : int16_t { Parent = 0, Name = -1 };
// Splits at the last backslash: "C:\A\B" gives "B" (Name) or "C:\A" (Parent); "C:\A\" gives "" or
// "C:\A". A path without a backslash is its own name and has no parent: error 5.
QString SplitPath(const QString& path, PathPart part);
