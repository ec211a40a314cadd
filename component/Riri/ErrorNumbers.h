#pragma once

// The error numbers the component and the program raise and test for
// themselves; failures of the database carry SQLite's own result codes.
namespace Riri::ErrorNumber {

inline constexpr int SubscriptOutOfRange = 9;
// No database file can be reached: the component's folder is unknown (the
// same number as SQLite's "unable to open database file").
inline constexpr int CannotOpen = 14;
inline constexpr int FileNotFound = 53;
inline constexpr int PathFileAccess = 75;
// The packaged layout's data folder or its first database cannot be made.
inline constexpr int PathNotFound = 76;
inline constexpr int ObjectNotSet = 91;
// The component object does not offer the interface the program expects.
inline constexpr int NoInterface = 430;
// The user cancelled a long operation; nothing was changed.
inline constexpr int Cancelled = 18;
// A failure that carries no number of its own.
inline constexpr int Unexpected = 440;

} // namespace Riri::ErrorNumber
