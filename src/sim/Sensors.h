#pragma once

namespace sim {

// Thermocouple types by their sensor type code: J, K, T, E, N, R, S, B.
inline constexpr int kThermocoupleTypes = 8;

// Millivolts per degree Celsius of a thermocouple type near its working range. The inputs are
// treated as linear, which is close enough for a bench instrument near room temperature.
double ThermocoupleSensitivity(int type_code);

// PT100 element (IEC 751 coefficients, quadratic part): ohms at a temperature and back.
double Pt100Resistance(double celsius);
double Pt100Temperature(double ohms);

double CelsiusToFahrenheit(double celsius);
double FahrenheitToCelsius(double fahrenheit);

} // namespace sim
