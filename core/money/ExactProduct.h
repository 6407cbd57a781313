#pragma once

#include <cstdint>
#include <initializer_list>

namespace quillan {

// Every product of postage, weights, rates and counts is taken here, as a person works it
// out on paper: each factor is read as the shortest decimal text that stands for it (0.573,
// not the binary 0.57299999...), the digits are multiplied exactly, and the product is
// rounded to 9 decimals, ties away from zero. The double handed back is the one nearest to
// that decimal, so money printed from it to 4 decimals rounds a tie as the figures show it:
// 596.25 lb at 0.573 is 341.65125, printed 341.6513, where the binary product
// (341.65124999999995) would print 341.6512.
double exactProduct(double a, double b, double c = 1.0);

// The sum of amounts as their figures add up (a difference is a sum with a negative term):
// the binary sum, rounded to the 9 decimals below which no product here has a figure, so
// that the noise of binary addition never turns a tie the figures make.
double moneySum(std::initializer_list<double> amounts);

// The pounds of so many pieces of a weight in ounces (sixteen to the pound), exactly.
double poundsOf(int32_t pieces, double ouncesPerPiece);

} // namespace quillan
