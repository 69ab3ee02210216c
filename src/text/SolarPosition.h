#pragma once
// The Sun's apparent geocentric ecliptic longitude, for the solar terms. Pure
// computation; callable from any thread.
namespace kivtal {

// Degrees in [0, 360) at the Julian Ephemeris Day `jde` (Terrestrial Time), referred to
// the true equinox of date, nutation and aberration included. Accurate to about one
// arcsecond between 1900 and 2100.
double SunApparentLongitude(double jde);

// TT minus UT in seconds for a moment in the decimal year `year` (1900 to 2150).
double DeltaTSeconds(double year);

}  // namespace kivtal
