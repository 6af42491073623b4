#include "analysis/AnalysisForms.h"

#include "core/FunctionPositions.h"

void RegisterAnalysisForms()
{
}
