#pragma once
// The rounding of the centring and of the start-up wait.

namespace avelin {

// To the nearest whole number; a half goes to the even neighbour (312.5 ->
// 312, 313.5 -> 314), so that the centring of a window and the start
// of the two-second wait come out the same on every run.
double RoundHalfEven(double x);

} // namespace avelin
