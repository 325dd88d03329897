#include "sim/Sensors.h"

#include <cmath>

namespace sim {

namespace {

constexpr double kA = 3.9083e-3;
constexpr double kB = -5.775e-7;

} // namespace

double ThermocoupleSensitivity(int type_code) {
    //                              J       K       T       E       N       R       S       B
    static const double table[] = {0.0517, 0.0406, 0.0407, 0.0609, 0.0265, 0.0057, 0.0055, 0.0060};
    return type_code >= 0 && type_code < kThermocoupleTypes ? table[type_code] : table[1];
}

double Pt100Resistance(double celsius) {
    return 100.0 * (1.0 + kA * celsius + kB * celsius * celsius);
}

double Pt100Temperature(double ohms) {
    const double discriminant = kA * kA - 4.0 * kB * (1.0 - ohms / 100.0);
    if (discriminant <= 0.0) {
        return -kA / (2.0 * kB); // the top of the curve: far beyond any element's range
    }
    return (-kA + std::sqrt(discriminant)) / (2.0 * kB);
}

double CelsiusToFahrenheit(double celsius) {
    return celsius * 9.0 / 5.0 + 32.0;
}

double FahrenheitToCelsius(double fahrenheit) {
    return (fahrenheit - 32.0) * 5.0 / 9.0;
}

} // namespace sim
