#include "RF_PS_Consts.h"

#include "ovRF.h"
#include "ovRH.h"

void FillProjectSummaryHeaders() {}

void FillProjectSummaryFields() {}
