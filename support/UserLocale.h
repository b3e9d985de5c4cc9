#pragma once
// The user's locale for numbers and short dates. Kept apart from the global C++
// locale on purpose: making the user's locale global would change every stream in
// the program, and report lines and saved setups must not pick up digit grouping.

#include <locale>
#include <string>

namespace vorlane {

// The locale named by LC_ALL / LC_NUMERIC / LANG, or the classic one when the
// environment names a locale the system does not have.
std::locale UserLocale();
// Puts another locale in force (tests pin one; start-up may pass a chosen one).
void SetUserLocale(const std::locale& locale);

// Groups the digits of value, written with the given number of decimals, by the
// user locale's separators and grouping, e.g. 1234567.5 -> "1,234,567.50".
std::string GroupedNumberText(double value, int decimals);

}  // namespace vorlane
