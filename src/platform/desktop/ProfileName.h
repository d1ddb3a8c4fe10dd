#pragma once
// A profile's name is the name of its file in the profiles folder (less ".ini"), a word on the command
// line and part of a request line to the running program: the rules are the same for all three.

#include <QString>

namespace platform {

// Longest profile name, in characters (UTF-16 code units).
inline constexpr int ProfileNameMaxLength = 64;
// Longest name in UTF-8, as a request carries it: at most three bytes a code unit.
inline constexpr int ProfileNameMaxBytes = 3 * ProfileNameMaxLength;

// Why name cannot be a profile's (empty, a '/', a leading '.', a control character, a blank at either
// end, an invisible character, too long), or empty when it can.
QString ProfileNameProblem(const QString& name);

}  // namespace platform
