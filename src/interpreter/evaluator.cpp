// PLACEHOLDER: owned by the evaluator work; replace the whole file.
#include "basic.h"
#include "errors.h"
namespace basic {
void TBasic::EvalExpression(valrec&) { RaiseMessage("not built yet"); }
void TBasic::EvalConjunction(valrec&) { RaiseMessage("not built yet"); }
void TBasic::EvalComparison(valrec&) { RaiseMessage("not built yet"); }
void TBasic::EvalSum(valrec&) { RaiseMessage("not built yet"); }
void TBasic::EvalTerm(valrec&) { RaiseMessage("not built yet"); }
void TBasic::EvalPower(valrec&) { RaiseMessage("not built yet"); }
}  // namespace basic
