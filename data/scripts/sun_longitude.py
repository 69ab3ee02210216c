"""The Sun's apparent longitude from PyEphem (Debian package python3-ephem, full VSOP87),
shared by the scripts that make the solar-term reference and the lunar tables."""
import math

import ephem


def apparent_longitude(date):
    """Radians, of the true equinox of date. ra/dec are the apparent place (nutation and
    aberration applied); an Ecliptic made from the Sun itself would take its astrometric
    place, some 20" behind."""
    sun = ephem.Sun(date)
    return ephem.Ecliptic(ephem.Equatorial(sun.ra, sun.dec, epoch=date), epoch=date).lon


def moment_of_longitude(degrees, guess):
    """The ephem.Date (UT) at which the apparent longitude reaches `degrees`, from a guess
    within a few days."""
    d = ephem.Date(guess)
    target = math.radians(degrees)
    for _ in range(50):
        diff = (target - apparent_longitude(d) + math.pi) % (2 * math.pi) - math.pi
        step = diff / (2 * math.pi) * 365.2422
        d = ephem.Date(d + step)
        if abs(step) < 1e-7:
            break
    return d
