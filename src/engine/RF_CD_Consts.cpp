#include "RF_CD_Consts.h"

#include "ovRF.h"
#include "ovRH.h"

void FillChartDataHeaders() {}

void FillChartDataFields() {}
