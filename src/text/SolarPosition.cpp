#include "text/SolarPosition.h"

#include <cmath>
#include <numbers>
#include <span>

namespace kivtal {
namespace {

// The Earth's heliocentric longitude from the VSOP87 theory (Bretagnon & Francou 1988) as
// truncated in J. Meeus, "Astronomical Algorithms", 2nd ed. (1998), Appendix III, with the
// reduction to the apparent place of its chapter 25 ("Higher accuracy"): FK5 correction,
// nutation in longitude (chapter 22, the four-term series, 0.5") and aberration. The
// truncated series is good to about 1", some 25 seconds of the Sun's motion.
struct Term {
    double a;
    double b;
    double c;
};

// clang-format off: three terms a line, each as Meeus prints it (A, B, C)
constexpr Term kL0[] = {
    {175347046, 0, 0},           {3341656, 4.6692568, 6283.07585},
    {34894, 4.6261, 12566.1517}, {3497, 2.7441, 5753.3849},
    {3418, 2.8289, 3.5231},      {3136, 3.6277, 77713.7715},
    {2676, 4.4181, 7860.4194},   {2343, 6.1352, 3930.2097},
    {1324, 0.7425, 11506.7698},  {1273, 2.0371, 529.691},
    {1199, 1.1096, 1577.3435},   {990, 5.233, 5884.927},
    {902, 2.045, 26.298},        {857, 3.508, 398.149},
    {780, 1.179, 5223.694},      {753, 2.533, 5507.553},
    {505, 4.583, 18849.228},     {492, 4.205, 775.523},
    {357, 2.92, 0.067},          {317, 5.849, 11790.629},
    {284, 1.899, 796.298},       {271, 0.315, 10977.079},
    {243, 0.345, 5486.778},      {206, 4.806, 2544.314},
    {205, 1.869, 5573.143},      {202, 2.458, 6069.777},
    {156, 0.833, 213.299},       {132, 3.411, 2942.463},
    {126, 1.083, 20.775},        {115, 0.645, 0.98},
    {103, 0.636, 4694.003},      {102, 0.976, 15720.839},
    {102, 4.267, 7.114},         {99, 6.21, 2146.17},
    {98, 0.68, 155.42},          {86, 5.98, 161000.69},
    {85, 1.3, 6275.96},          {85, 3.67, 71430.7},
    {80, 1.81, 17260.15},        {79, 3.04, 12036.46},
    {75, 1.76, 5088.63},         {74, 3.5, 3154.69},
    {74, 4.68, 801.82},          {70, 0.83, 9437.76},
    {62, 3.98, 8827.39},         {61, 1.82, 7084.9},
    {57, 2.78, 6286.6},          {56, 4.39, 14143.5},
    {56, 3.47, 6279.55},         {52, 0.19, 12139.55},
    {52, 1.33, 1748.02},         {51, 0.28, 5856.48},
    {49, 0.49, 1194.45},         {41, 5.37, 8429.24},
    {41, 2.4, 19651.05},         {39, 6.17, 10447.39},
    {37, 6.04, 10213.29},        {37, 2.57, 1059.38},
    {36, 1.71, 2352.87},         {36, 1.78, 6812.77},
    {33, 0.59, 17789.85},        {30, 0.44, 83996.85},
    {30, 2.74, 1349.87},         {25, 3.16, 4690.48},
};
constexpr Term kL1[] = {
    {628331966747, 0, 0},       {206059, 2.678235, 6283.07585},
    {4303, 2.6351, 12566.1517}, {425, 1.59, 3.523},
    {119, 5.796, 26.298},       {109, 2.966, 1577.344},
    {93, 2.59, 18849.23},       {72, 1.14, 529.69},
    {68, 1.87, 398.15},         {67, 4.41, 5507.55},
    {59, 2.89, 5223.69},        {56, 2.17, 155.42},
    {45, 0.4, 796.3},           {36, 0.47, 775.52},
    {29, 2.65, 7.11},           {21, 5.34, 0.98},
    {19, 1.85, 5486.78},        {19, 4.97, 213.3},
    {17, 2.99, 6275.96},        {16, 0.03, 2544.31},
    {16, 1.43, 2146.17},        {15, 1.21, 10977.08},
    {12, 2.83, 1748.02},        {12, 3.26, 5088.63},
    {12, 5.27, 1194.45},        {12, 2.08, 4694},
    {11, 0.77, 553.57},         {10, 1.3, 6286.6},
    {10, 4.24, 1349.87},        {9, 2.7, 242.73},
    {9, 5.64, 951.72},          {8, 5.3, 2352.87},
    {6, 2.65, 9437.76},         {6, 4.67, 4690.48},
};
constexpr Term kL2[] = {
    {52919, 0, 0},      {8720, 1.0721, 6283.0758}, {309, 0.867, 12566.152}, {27, 0.05, 3.52},   {16, 5.19, 26.3},
    {16, 3.68, 155.42}, {10, 0.76, 18849.23},      {9, 2.06, 77713.77},     {7, 0.83, 775.52},  {5, 4.66, 1577.34},
    {4, 1.03, 7.11},    {4, 3.44, 5573.14},        {3, 5.14, 796.3},        {3, 6.05, 5507.55}, {3, 1.19, 242.73},
    {3, 6.12, 529.69},  {3, 0.31, 398.15},         {3, 2.28, 553.57},       {2, 4.38, 5223.69}, {2, 3.75, 0.98},
};
constexpr Term kL3[] = {
    {289, 5.844, 6283.076}, {35, 0, 0},         {17, 5.49, 12566.15}, {3, 5.2, 155.42},
    {1, 4.72, 3.52},        {1, 5.3, 18849.23}, {1, 5.97, 242.73},
};
constexpr Term kL4[] = {{114, 3.142, 0}, {8, 4.13, 6283.08}, {1, 3.84, 12566.15}};
constexpr Term kL5[] = {{1, 3.14, 0}};
// The radius vector only scales the aberration (20.5" / R); three terms keep it to 1e-4 AU.
constexpr Term kR0[] = {{100013989, 0, 0}, {1670700, 3.0984635, 6283.07585}, {13956, 3.05525, 12566.1517}};
constexpr Term kR1[] = {{103019, 1.10749, 6283.07585}};
// clang-format on

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180;
constexpr double kArcsecond = kDegree / 3600;
constexpr double kJ2000 = 2451545.0;

double SumSeries(std::span<const Term> terms, double tau) {
    double sum = 0;
    for (const Term& t : terms) sum += t.a * std::cos(t.b + t.c * tau);
    return sum;
}

// Sum over the powers of tau of each series, scaled from the tables' 1e-8 units.
double Polynomial(std::span<const std::span<const Term>> series, double tau) {
    double value = 0;
    double power = 1;
    for (std::span<const Term> terms : series) {
        value += SumSeries(terms, tau) * power;
        power *= tau;
    }
    return value * 1e-8;
}

// Nutation in longitude, radians; Meeus (22.1) without the small terms.
double NutationInLongitude(double t) {
    const double omega = (125.04452 - 1934.136261 * t) * kDegree;
    const double sunMean = (280.4665 + 36000.7698 * t) * kDegree;
    const double moonMean = (218.3165 + 481267.8813 * t) * kDegree;
    return (-17.20 * std::sin(omega) - 1.32 * std::sin(2 * sunMean) - 0.23 * std::sin(2 * moonMean) +
            0.21 * std::sin(2 * omega)) *
           kArcsecond;
}

}  // namespace

double SunApparentLongitude(double jde) {
    const double tau = (jde - kJ2000) / 365250.0;  // Julian millennia
    const std::span<const Term> lSeries[] = {kL0, kL1, kL2, kL3, kL4, kL5};
    const std::span<const Term> rSeries[] = {kR0, kR1};
    const double earth = Polynomial(lSeries, tau);
    const double radius = Polynomial(rSeries, tau);
    const double fk5 = -0.09033 * kArcsecond;
    const double aberration = -20.4898 * kArcsecond / radius;
    const double lambda = earth + kPi + fk5 + NutationInLongitude(tau * 10) + aberration;
    const double degrees = std::fmod(lambda / kDegree, 360.0);
    return degrees < 0 ? degrees + 360.0 : degrees;
}

// Polynomials of F. Espenak and J. Meeus, "Five Millennium Canon of Solar Eclipses"
// (NASA/TP-2006-214141), section 2.6; the last one is their extrapolation to 2150.
double DeltaTSeconds(double year) {
    if (year < 1920) {
        const double t = year - 1900;
        return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t - 0.000197 * t * t * t * t;
    }
    if (year < 1941) {
        const double t = year - 1920;
        return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
    }
    if (year < 1961) {
        const double t = year - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    if (year < 1986) {
        const double t = year - 1975;
        return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
    }
    if (year < 2005) {
        const double t = year - 2000;
        return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * std::pow(t, 3) + 0.000651814 * std::pow(t, 4) +
               0.00002373599 * std::pow(t, 5);
    }
    if (year < 2050) {
        const double t = year - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    const double u = (year - 1820) / 100;
    return -20 + 32 * u * u - 0.5628 * (2150 - year);
}

}  // namespace kivtal
