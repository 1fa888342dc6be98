#pragma once
// The markers that stand for a value that is not there. Each has one name
// and one meaning; code tests for the name, never for the literal.

namespace Sentinel {

// A temperature that does not exist (degC): a switching threshold never
// reached, a capacity table that is missing. Below every air temperature.
inline constexpr double kNoTemperature = -273;

// An input or stored value that is not given (one more than the smallest
// 32-bit integer, as project files hold it).
inline constexpr double kNotGiven = -2147483647.0;

// True for a value that is given: above the not-given marker and finite.
inline bool IsGiven(double nValue) { return nValue > kNotGiven && nValue == nValue; }

// Above every airflow, pressure and margin: where a search for the smallest
// starts, and what it answers when there was nothing to search (the
// largest 32-bit integer).
inline constexpr double kAboveAll = 2147483647.0;

// The airflow fields' upper bound (l/s) while no family narrows it: the
// widest the fields take, standing for no limit.
inline constexpr double kNoAirflowLimitLs = 8889.0;

}  // namespace Sentinel
