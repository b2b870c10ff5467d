// PLACEHOLDER: owned by the numeric work; replace the whole file.
#include "numeric.h"
#include "errors.h"
namespace basic {
int64_t RoundToInt64(double) { RaiseMessage("not built yet"); }
int64_t TruncToInt64(double) { RaiseMessage("not built yet"); }
double CheckFinite(double x) { return x; }
double Add(double a, double b) { return a + b; }
double Subtract(double a, double b) { return a - b; }
double Multiply(double a, double b) { return a * b; }
double Divide(double a, double b) { return a / b; }
double Power(double, double) { RaiseMessage("not built yet"); }
double ModOf(double, double) { RaiseMessage("not built yet"); }
std::string FormatNumber(double) { RaiseMessage("not built yet"); }
std::string FormatScientific(double) { RaiseMessage("not built yet"); }
}  // namespace basic
