// The numbers of a formula read the same in every program: muparser's own reader asks the C++
// library's streams, whose rules differ between libraries (one reads "2cos" as a number that
// fails, or "0x10" as 16, where the other reads 2 and 0), so the page answered some formulas
// otherwise than the window and the command line.
#pragma once

// muparser's value reader (AddValIdent): the number at text, as the C++ streams of the native
// programs read it ([+-]digits[.digits][e[+-]digits], the decimal point whatever the locale).
// 1 with the value and *position moved past it; 0 when no number stands there or it is refused
// whole (an exponent without digits, a value beyond the doubles), as those streams refuse it.
int ReadFormulaNumber(const char* text, int* position, double* value);
