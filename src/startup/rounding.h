#pragma once
// The rounding of the centring and of the start-up wait.

namespace avelin {

// To the nearest whole number; a half goes to the even neighbour (312.5 ->
// 312, 313.5 -> 314), as the classic rounding of the original program does.
double RoundHalfEven(double x);

} // namespace avelin
